#!/bin/sh
# qinghe-cli journal from the outside: what it prints, the files it leaves
# and how it exits.
# Usage: journal_command_test.sh PATH-TO-QINGHE-CLI
set -eu
cli=$1
. "$(dirname "$0")/cli_expect.sh"

j() {  # the journal in ./data with its password
    "$cli" journal "$@" --dir data --password 秘密
}
stderr() {  # what a command says on stderr
    "$@" 2>&1 >/dev/null || true
}

expect init 0 "$(status j init)"
expect init-again "error -2: 创建数据库失败：数据库已经存在" "$(stderr j init)"
expect init-again-status 1 "$(status j init)"

# One line a case: the arguments of record, and its exit status.
while IFS='|' read -r date text options want; do
    # shellcheck disable=SC2086
    expect "record $date $text $options" "$want" "$(status j record "$date" "$text" $options)"
done <<'CASES'
2013-05-06|8|--kind G1 --night|0
2013-05-05|休息|--night|0
2013-05-07|10|--kind 病假 --night|0
2013-05-08|早班|--night|0
2013-05-09|7|--kind G1|0
2013-05-10|0||0
2013-05-11|-3|--kind 事假|0
2013-05-12|a,"b"||0
2014-05-13|10|--kind G2 --night|0
2013-05-06|休息||3
2013-05-13|8||4
2013-02-30|8|--kind G1|2
2013-05-13|8|--kind G4|2
2013-05-13|2.5|--kind G1|2
2013-05-13|0.5||2
2013-05-13|2147483648|--kind G1|2
2013-05-13|25|--kind G1|2
2013-05-13|-25|--kind 事假|2
2013-05-13|1e1|--kind G1|2
2013-05-13|8.0|--kind G1|2
2013-05-13|一二三四五六七八九十个||2
2013-05-13|8|--kind G1 --kind G2|2
2013-05-13|8|--kind G1 --night --night|2
CASES
expect already-recorded "今天已经记录过了。" "$(stderr j record 2013-05-06 2 --kind G1)"
expect not-whole "qinghe-cli journal record: “7.9”不是整数时数（时数是 -24 到 24 的整数），没有记录。" \
    "$(stderr j record 2013-05-13 7.9 --kind G1)"
expect remark-too-long "qinghe-cli journal record: 备注“一二三四五六七八九十个”超过 20 个字节（10 个汉字），没有记录。" \
    "$(stderr j record 2013-05-13 一二三四五六七八九十个)"
expect wrong-password "error -78: 未提供数据库访问密码或提供了错误的密码" \
    "$(stderr "$cli" journal record 2013-05-20 8 --kind G1 --dir data --password x)"
expect no-journal "error -3: 指定文件未找到" "$(stderr "$cli" journal grid --dir nowhere)"

expect totals "编辑框夜班津贴${tab}9
编辑框1加班小时数${tab}15
编辑框2加班小时数${tab}0
编辑框3加班小时数${tab}0
编辑框事假时数${tab}-3
编辑框旷工时数${tab}0
编辑框病假时数${tab}10
标签当前统计到的加班日期${tab}当前加班统计到：2014年5月13日" "$(j totals 2013-05-31)"
expect totals-of-the-other-year "编辑框夜班津贴${tab}4.5" "$(j totals 2014-05-01 | head -1)"

expect grid "日期${tab}G1时数${tab}G2时数${tab}G3时数${tab}事假时数${tab}病假时数${tab}备注${tab}星期${tab}夜班${tab}旷工时数${tab}
2013年5月6日${tab}8${tab}0${tab}0${tab}0${tab}0${tab}${tab}星期一${tab}1${tab}0${tab}1
2013年5月5日${tab}0${tab}0${tab}0${tab}0${tab}0${tab}休息${tab}星期日${tab}0${tab}0${tab}6
2013年5月7日${tab}0${tab}0${tab}0${tab}0${tab}10${tab}${tab}星期二${tab}0${tab}0${tab}5
2013年5月8日${tab}0${tab}0${tab}0${tab}0${tab}0${tab}早班${tab}星期三${tab}1${tab}0${tab}6
2013年5月9日${tab}7${tab}0${tab}0${tab}0${tab}0${tab}${tab}星期四${tab}0${tab}0${tab}1
2013年5月10日${tab}0${tab}0${tab}0${tab}0${tab}0${tab}0${tab}星期五${tab}0${tab}0${tab}6
2013年5月11日${tab}0${tab}0${tab}0${tab}-3${tab}0${tab}${tab}星期六${tab}0${tab}0${tab}
2013年5月12日${tab}0${tab}0${tab}0${tab}0${tab}0${tab}a,\"b\"${tab}星期日${tab}0${tab}0${tab}6
2014年5月13日${tab}0${tab}10${tab}0${tab}0${tab}0${tab}${tab}星期二${tab}1${tab}0${tab}2" "$(j grid)"

# The export, byte for byte: a byte-order mark, CR LF, RFC 4180 quoting.
printf '\357\273\277日期,G1,G2,G3,事假,病假,备注,星期,夜班,旷工\r\n2013-05-06,8,0,0,0,0,,星期一,1,0\r\n' \
    >want.csv
j export | head -c "$(wc -c <want.csv)" >head.csv
expect export-head "" "$(cmp want.csv head.csv 2>&1)"
expect export-quoted '2013-05-12,0,0,0,0,0,"a,""b""",星期日,0,0' "$(j export | sed -n 9p | tr -d '\r')"
j export --output out.csv
expect export-file "" "$(j export | cmp - out.csv 2>&1)"
expect export-unwritable 1 "$(status j export --output nowhere/out.csv)"
expect export-names-its-file "qinghe-cli journal export: nowhere/out.csv: 指定文件未找到; nothing written" \
    "$(stderr j export --output nowhere/out.csv)"
expect nothing-left "out.csv" "$(ls | grep 'out\.csv' | tr '\n' ' ' | sed 's/ $//')"

# The default folder is the window's data folder; "?" asks on the terminal.
XDG_DATA_HOME=$PWD/xdg "$cli" journal init --password 口令
expect default-folder "加班.EDB" "$(ls xdg/qinghe)"
expect asked "编辑框1加班小时数${tab}0" \
    "$(echo 口令 | XDG_DATA_HOME=$PWD/xdg "$cli" journal totals 2013-05-31 --password '?' 2>/dev/null \
        | sed -n 2p)"

# A new password asked on the terminal: twice, in GBK, a CR before the LF
# dropped.
printf 'abc\r\nabc\r\n' | "$cli" journal init --dir typed --password '?' 2>/dev/null
expect typed-password 0 "$(status "$cli" journal grid --dir typed --password abc)"
for typed in 'abc\nabd\n' '😀\n😀\n' 'abc\n'; do
    # shellcheck disable=SC2059
    expect "refused-password $typed" "2 no-journal" "$(printf "$typed" |
        "$cli" journal init --dir refused --password '?' >/dev/null 2>&1 || echo $?) $(
        [ -e refused/加班.EDB ] && echo journal || echo no-journal)"
done
expect passwords-differ "qinghe-cli journal init: 两次密码输入不一致！" \
    "$(printf 'a\nb\n' | "$cli" journal init --dir refused --password '?' 2>&1 | tail -1)"

# Whole hours lie within -24 to 24, written as a sign and digits.
"$cli" journal init --dir hours
"$cli" journal record 2013-05-06 ２４ --kind G2 --dir hours
"$cli" journal record 2013-05-07 -24 --kind 事假 --dir hours
expect hours-at-the-bounds "24|-24" "$("$cli" journal grid --dir hours | sed 1d | cut -f3,5 |
    tr "$tab" '\n' | grep -v '^0$' | tr '\n' '|' | sed 's/|$//')"

# Sorting: the records in date order, the password kept, nothing printed.
"$cli" journal init --dir sorted --password 密
for day in 05 03 04; do "$cli" journal record 2013-05-$day 休息 --dir sorted --password 密; done
expect sort-prints-nothing "" "$("$cli" journal sort --dir sorted --password 密 2>&1)"
expect sorted "2013-05-03 2013-05-04 2013-05-05" "$("$cli" journal export --dir sorted \
    --password 密 | tr -d '\r' | sed 1d | cut -d, -f1 | tr '\n' ' ' | sed 's/ $//')"
expect sort-wrong-password "error -78: 未提供数据库访问密码或提供了错误的密码" \
    "$(stderr "$cli" journal sort --dir sorted --password 错)"
expect sort-extra-argument 2 "$(status "$cli" journal sort x --dir sorted --password 密)"

# A journal whose count passes the records its file holds (a copy cut short)
# is cut back by the first command that opens it, which says so once.
cp sorted/加班.EDB whole.EDB
truncate -s -10 sorted/加班.EDB
expect cut-said "qinghe-cli journal grid: 加班记录的最后一条不完整，已去掉" \
    "$("$cli" journal grid --dir sorted --password 密 2>&1 >/dev/null)"
expect cut-back 2 "$("$cli" journal grid --dir sorted --password 密 | sed 1d | wc -l | tr -d ' ')"
cp whole.EDB sorted/加班.EDB
truncate -s -10 sorted/加班.EDB
expect cut-by-record "qinghe-cli journal record: 加班记录的最后一条不完整，已去掉" \
    "$("$cli" journal record 2013-05-09 休息 --dir sorted --password 密 2>&1)"

# Exports never land on a file that a table of the folder uses or may use,
# nor on any table file or side file of one, wherever it lies.
mkdir -p sorted/数据库备份 elsewhere
ln -s "$PWD/sorted" linked
while IFS='|' read -r output why; do
    expect "export onto $output" "qinghe-cli journal export: $output is $why; nothing written" \
        "$(stderr "$cli" journal export --output "$output" --dir sorted --password 密)"
done <<'CASES'
sorted/加班.EDB|one of the data folder's own files
sorted/加班.edj|one of the data folder's own files
sorted/加班.EDT|one of the data folder's own files
sorted/加班.EDB.~4711-k3x9q2ma|one of the data folder's own files
sorted/加班.EDJ.~4711-k3x9q2ma|one of the data folder's own files
sorted/工资记录.EDJ|one of the data folder's own files
sorted/数据库备份/加班备份.EDJ|one of the data folder's own files
sorted/配置项目.ini.~4711-k3x9q2ma|one of the data folder's own files
sorted/放假安排.txt|one of the data folder's own files
linked/加班.EDJ|one of the data folder's own files
data/加班.EDB|a table file or a side file of one
whole.EDB|a table file or a side file of one
CASES
printf 'WEDJ' >elsewhere/log.EDJ
expect export-onto-a-log 1 "$(status "$cli" journal export --output elsewhere/log.EDJ --dir sorted \
    --password 密)"
expect nothing-replaced "WEDJ" "$(cat elsewhere/log.EDJ)"
expect sorted-journal-whole 0 "$(status "$cli" table check sorted/加班 --password 密)"
expect other-journal-whole 0 "$(status "$cli" journal grid --dir data --password 秘密)"
expect nothing-left-beside "加班.EDB 数据库备份" "$(ls sorted | tr '\n' ' ' | sed 's/ $//')"

# A journal that cannot be written (a file-size limit of 0, whose signal is
# ignored) names the reason and leaves no folder behind.
said=$( (trap '' XFSZ; ulimit -f 0; "$cli" journal init --dir unmade/deeper --password p) 2>&1 ||
    echo "status $?")
expect init-unwritable "error -10: 文件指针定位失败
status 1" "$said"
expect init-leaves-nothing absent "$([ -e unmade ] && echo present || echo absent)"

# Remarks as a spreadsheet must not run them, and as a line of words.
"$cli" journal init --dir marks
"$cli" journal record 2013-06-01 '=1+2' --dir marks
"$cli" journal record 2013-06-02 "$(printf 'a\tb\rc\\')" --dir marks
"$cli" journal record 2013-06-03 '@x' --dir marks
"$cli" journal record --dir marks 2013-06-04 -- --x
"$cli" journal record 2013-06-05 "$(printf '\tx')" --dir marks
printf '\357\273\277日期,G1,G2,G3,事假,病假,备注,星期,夜班,旷工\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n' \
    "2013-06-01,0,0,0,0,0,'=1+2,星期六,0,0" "$(printf '2013-06-02,0,0,0,0,0,"a\tb\rc\\",星期日,0,0')" \
    "2013-06-03,0,0,0,0,0,'@x,星期一,0,0" "2013-06-04,0,0,0,0,0,'--x,星期二,0,0" \
    "$(printf "2013-06-05,0,0,0,0,0,'\\tx,星期三,0,0")" >marks.csv
expect csv-neutralised "" "$("$cli" journal export --dir marks | cmp - marks.csv 2>&1)"
expect grid-escaped 'a\tb\rc\\|\tx' "$("$cli" journal grid --dir marks | sed -n '3p;6p' | cut -f7 |
    tr '\n' '|' | sed 's/|$//')"

# What a folder is, what the options take, and the journal's own fields.
expect empty-dir 2 "$(status "$cli" journal init --dir '')"
expect backslash-dir "2 no-folder" "$(status "$cli" journal init --dir 'x\') $(
    [ -e 'x\' ] && echo folder || echo no-folder)"
: >plain-file
expect folder-under-a-file "qinghe-cli journal init: 无法创建数据文件夹 plain-file/sub：无效的路径" \
    "$(stderr "$cli" journal init --dir plain-file/sub)"
mkdir extra
"$cli" table create extra/加班 日期:8 G1:3 G2:3 G3:3 事假:3 病假:3 备注:10:20 星期:10:6 夜班:3 旷工:3 附注:3
expect extra-field "error -70: 加班记录的字段与本程序不符" "$(stderr "$cli" journal grid --dir extra)"

# Every subcommand answers --help, also after other arguments and not after --.
for sub in $("$cli" --help | sed -n 's/^  \([a-z]*\) .*/\1/p'); do
    expect "help $sub" "0 usage: qinghe-cli $sub" \
        "$("$cli" "$sub" x --help 2>/dev/null | head -1 | cut -d' ' -f1-3 | sed 's/^/0 /')"
done
expect help-after-dashes 2 "$(status "$cli" journal grid -- --help)"

# Output that cannot be written (a file-size limit of 0, whose signal is
# ignored) fails the command with a message, whatever the command.
while IFS='|' read -r what command; do
    # shellcheck disable=SC2086
    said=$( (trap '' XFSZ; ulimit -f 0; "$cli" $command >unwritable.out) 2>&1 || echo "status $?")
    expect "unwritable $what" "qinghe-cli: 写入标准输出失败，输出不完整
status 1" "$said"
done <<'CASES'
export|journal export --dir marks
grid|journal grid --dir marks
totals|journal totals 2013-06-01 --dir marks
dump|table dump marks/加班
lunar|lunar 2013-06-01
help|journal --help
CASES

# The year's chart: an SVG that parses and names the twelve months, and its
# hours; a PNG; bad usage.
j chart --year 2013 --output chart.svg
expect chart-svg "1月 2月 3月 4月 5月 6月 7月 8月 9月 10月 11月 12月|共15小时" "$(python3 -c '
import sys, xml.etree.ElementTree as tree
text = " ".join(tree.parse(sys.argv[1]).getroot().itertext())
months = [f"{m}月" for m in range(1, 13) if f" {m}月 " in f" {text} "]
print(" ".join(months) + "|" + " ".join(w for w in text.split() if w == "共15小时")
      + (" and a month focused" if "1月 加班G1" in text else ""))
' chart.svg 2>&1)"
j chart --year 2013 --rules current --output chart.PNG
expect chart-png "PNG" "$(head -c 4 chart.PNG | tail -c 3)"
# With a pay record beside the journal, its months' net pay is a line on a
# second axis of round steps that reach it, and in the year's totals.
p=data/工资记录
"$cli" table create $p 年:3 月:3 应发工资:4 专项扣除:4 专项附加扣除:4 其他扣除:4 代扣个税:4 \
    实发工资:4 计算规则:10:8 >/dev/null
"$cli" table append $p 2013 6 900000 0 0 0 12000 888000 现行规则 >/dev/null
"$cli" table passwd $p 秘密 >/dev/null
j chart --year 2013 --output pay.svg
expect chart-pay "实发工资 8880.00元|元|0 5000 10000 15000" "$(python3 -c '
import sys, xml.etree.ElementTree as tree
words = " ".join(tree.parse(sys.argv[1]).getroot().itertext()).split()
total = [w for i, w in enumerate(words) if words[i - 1] == "实发工资" and w.endswith("元")]
legend = words.index("实发工资")
pay_axis = words[legend + 2 : words.index("小时", legend) : 2]  # beside the hours
print("实发工资 " + " ".join(total) + "|" + " ".join(w for w in words if w == "元") + "|"
      + " ".join(pay_axis))
' pay.svg 2>&1)"
"$cli" table passwd $p 其他 --password 秘密 >/dev/null
expect chart-pay-refused 1 "$(status j chart --year 2013 --output refused.svg)"
expect chart-names-the-pay-record "error -78: 工资记录：未提供数据库访问密码或提供了错误的密码" \
    "$(stderr j chart --year 2013 --output refused.svg)"
rm $p.EDB
# Net pay of 1 yuan and of nothing: the pay axis's steps go below one, as
# round as ever, and a year paid nothing still has steps of one.
while IFS='|' read -r fen want; do
    "$cli" table create $p 年:3 月:3 应发工资:4 专项扣除:4 专项附加扣除:4 其他扣除:4 代扣个税:4 \
        实发工资:4 计算规则:10:8 >/dev/null
    "$cli" table append $p 2013 6 "$fen" 0 0 0 0 "$fen" 现行规则 >/dev/null
    "$cli" table passwd $p 秘密 >/dev/null
    j chart --year 2013 --output small.svg
    expect "chart-pay-axis-$fen" "$want" "$(python3 -c '
import sys, xml.etree.ElementTree as tree
words = " ".join(tree.parse(sys.argv[1]).getroot().itertext()).split()
legend = words.index("实发工资")
print(" ".join(words[legend + 2 : words.index("小时", legend) : 2]))
' small.svg 2>&1)"
    rm $p.EDB
done <<'CASES'
100|0 0.5 1 1.5
0|0 1 2 3
CASES
while IFS='|' read -r options want; do
    # shellcheck disable=SC2086
    expect "chart $options" "$want" "$(status j chart $options)"
done <<'CASES'
--year 2013|2
--output c.svg|2
--year 2013 --output c.gif|2
--year 99 --output c.svg|2
--year 2013x --output c.svg|2
--year 2013 --output c.svg --rules new|2
--year 2013 --output nowhere/c.svg|1
CASES
expect chart-nothing-left "chart.PNG chart.svg" "$(ls | grep -i '^c\|chart' | tr '\n' ' ' | sed 's/ $//')"

expect no-operation 2 "$(status "$cli" journal)"
expect unknown-operation 2 "$(status "$cli" journal frobnicate)"
expect unknown-option 2 "$(status j grid --night)"
expect extra-argument 2 "$(status j totals 2013-05-31 2013-06-01)"

[ "$failures" -eq 0 ]
