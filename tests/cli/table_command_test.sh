#!/bin/sh
# qinghe-cli table from the outside: what it prints and how it exits.
# Usage: table_command_test.sh PATH-TO-QINGHE-CLI
set -eu
cli=$1
. "$(dirname "$0")/cli_expect.sh"

"$cli" table create 加班 日期:8 G1:3 备注:10:20 附注:12 字节:11 开关:7 引用:9 小数:5
"$cli" table append 加班 2024-05-03 8 '休\t息' 'a\\b\nc\r' 00ff10 1 4294967295 0.5
"$cli" table append 加班.edb 45000.5 -3
"$cli" table append 加班 2024-05-04T06:30:00

expect info "$(printf 'magic\tWEDB\nversion\t65536\ncount\t3\nnext\t4\nrecordLength\t53\nfields\t8
field\t1\t日期\t8\t4\t8\nfield\t2\tG1\t3\t12\t4\nfield\t3\t备注\t10\t16\t20
field\t4\t附注\t12\t36\t4\nfield\t5\t字节\t11\t40\t4\nfield\t6\t开关\t7\t44\t1
field\t7\t引用\t9\t45\t4\nfield\t8\t小数\t5\t49\t4')" "$("$cli" table info 加班)"

expect dump "$(printf '1\t45415\t8\t休\\t息\ta\\\\b\\nc\\r\t00ff10\t1\t4294967295\t0.5
2\t45000.5\t-3\t\t\t\t0\t0\t0
3\t45416.270833333336\t0\t\t\t\t0\t0\t0')" "$("$cli" table dump 加班)"

"$cli" table delete-last 加班
expect deleted "-3" "$("$cli" table dump 加班 | tail -1 | cut -f1)"
"$cli" table pack 加班
expect packed "2" "$("$cli" table info 加班 | sed -n 's/^count\t//p')"
"$cli" table zap 加班
expect zapped "$(printf 'count\t0\nnext\t4')" "$("$cli" table info 加班 --read-only | sed -n '3,4p')"

expect wrong-password "error -78: 未提供数据库访问密码或提供了错误的密码" \
    "$("$cli" table info 加班 --password pw 2>&1 || true)"
expect bad-field "error -18: 无效的字段名称。名称首字符必须为全半角字母或汉字，其他字符必须为全半角字母、全半角数字或汉字。名称长度必须小于 16 字符" \
    "$("$cli" table create t 1a:3 2>&1 || true)"
expect missing "error -3: 指定文件未找到" "$("$cli" table dump nothing 2>&1 || true)"
expect failure-status 1 "$(status "$cli" table dump nothing)"
expect bad-number 2 "$(status "$cli" table append 加班 x)"
expect bad-date 2 "$(status "$cli" table append 加班 2024-02-30)"
expect bad-bool 2 "$(status "$cli" table append 加班 1 2 a b 00 7)"
expect too-many 2 "$(status "$cli" table append 加班 1 2 3 4 5 1 7 8 9)"
expect no-file 2 "$(status "$cli" table info)"
expect unknown 2 "$(status "$cli" table frobnicate 加班)"
expect nothing-appended "0" "$("$cli" table info 加班 | sed -n 's/^count\t//p')"

# Dates: the strict forms, or days; a blank instead of "T" is refused, not read as midnight.
for refused in '2024-01-01 12:00:00' 2024-1-1 2024-01-01x 2024-01-01T12:00 nan inf; do
    expect "date $refused" 2 "$(status "$cli" table append 加班 "$refused")"
done
expect date-refusal "qinghe-cli table append: '2024-01-01 12:00:00' is not a date and time of the form YYYY-MM-DDTHH:MM:SS, nor a number of days since 1899-12-30" \
    "$("$cli" table append 加班 '2024-01-01 12:00:00' 2>&1 || true)"
expect still-nothing "0" "$("$cli" table info 加班 | sed -n 's/^count\t//p')"

# --read-only writes nothing: bytes after the last record stay (an open for
# writing cuts them), and sort and copy read their source the same way.
"$cli" table append 加班 2024-01-01T12:00:00 7
printf 'xyz' >>加班.EDB
cp 加班.EDB before
expect read-only-dump "$(printf '4\t45292.5\t7\t\t\t\t0\t0\t0')" "$("$cli" table dump 加班 --read-only)"
"$cli" table sort 加班 排序 日期 --read-only
"$cli" table copy 加班 副本 --read-only
expect read-only-untouched "" "$(cmp 加班.EDB before)"
expect read-only-copy "$("$cli" table dump 加班 --read-only | cut -f2-)" "$("$cli" table dump 副本 | cut -f2-)"
expect read-only-sort "$("$cli" table dump 副本)" "$("$cli" table dump 排序)"
"$cli" table dump 加班 >/dev/null
expect writing-open-cuts "$(($(wc -c <before) - 3))" "$(wc -c <加班.EDB | tr -d ' ')"
if [ "$(id -u)" -ne 0 ]; then  # the superuser writes to any file
    chmod a-w 加班.EDB 加班.EDT
    expect writing-open-refused 1 "$(status "$cli" table dump 加班)"
    expect read-only-media 0 "$(status "$cli" table dump 加班 --read-only)"
    chmod u+w 加班.EDB 加班.EDT
fi
expect read-only-no-append 2 "$(status "$cli" table append 加班 --read-only 1)"

[ "$failures" -eq 0 ]
