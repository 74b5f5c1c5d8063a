#!/bin/sh
# qinghe-cli pay from the outside, byte for byte: the pay record made with
# the table inspector from its published fields, listed and settled.
# Usage: pay_command_test.sh PATH-TO-QINGHE-CLI
set -eu
cli=$1
. "$(dirname "$0")/cli_expect.sh"

pay() {
    "$cli" pay "$@" --dir data --password 秘密
}

mkdir data
heading='年份|月份|应发工资|专项扣除|专项附加扣除|其他扣除|代扣个税|实发工资|计算规则'
expect no-record "$(lines "$heading")" "$(pay list)"
expect nothing-settled "$(lines '月份|' '收入|0.00' '减除费用|60000.00' '专项扣除|0.00' \
    '专项附加扣除|0.00' '其他扣除|0.00' '应纳税所得额|0.00' '税率|3' '速算扣除数|0.00' \
    '应纳税额|0.00' '已预扣税额|0.00' '应补税额|0.00')" "$(pay settle --year 2025)"

# The tax bureau's example as withheld, a December of the year before, and
# a March written twice (a write cut short: the later row counts).
t=data/工资记录
"$cli" table create $t 年:3 月:3 应发工资:4 专项扣除:4 专项附加扣除:4 其他扣除:4 代扣个税:4 \
    实发工资:4 计算规则:10:8 >/dev/null
while read -r row; do
    # shellcheck disable=SC2086
    "$cli" table append $t $row >/dev/null
done <<'ROWS'
2025 2 3000000 450000 200000 0 62500 2487500 现行规则
2025 1 3000000 450000 200000 0 55500 2494500 现行规则
2024 12 800000 80000 0 0 1200 718800 现行规则
2025 3 1 0 0 0 0 1 原版规则
2025 3 3000000 450000 200000 0 185000 2365000 现行规则
ROWS
"$cli" table passwd $t 秘密 >/dev/null

expect list "$(lines "$heading" \
    '2024|12|8000.00|800.00|0.00|0.00|12.00|7188.00|现行规则' \
    '2025|1|30000.00|4500.00|2000.00|0.00|555.00|24945.00|现行规则' \
    '2025|2|30000.00|4500.00|2000.00|0.00|625.00|24875.00|现行规则' \
    '2025|3|30000.00|4500.00|2000.00|0.00|1850.00|23650.00|现行规则')" "$(pay list)"
expect list-year "$(lines "$heading" '2024|12|8000.00|800.00|0.00|0.00|12.00|7188.00|现行规则')" \
    "$(pay list --year 2024)"
expect list-bounds "$(lines "$heading")|$(lines "$heading")" "$(pay list --year 1)|$(pay list --year 9999)"
# Leaving after March, the year's 60,000 refunds most of what was withheld.
expect settle "$(lines '月份|1,2,3' '收入|90000.00' '减除费用|60000.00' '专项扣除|13500.00' \
    '专项附加扣除|6000.00' '其他扣除|0.00' '应纳税所得额|10500.00' '税率|3' '速算扣除数|0.00' \
    '应纳税额|315.00' '已预扣税额|3030.00' '应退税额|2715.00')" "$(pay settle --year 2025)"
expect settle-owed "$(lines '月份|12' '收入|8000.00' '减除费用|60000.00' '专项扣除|800.00' \
    '专项附加扣除|0.00' '其他扣除|0.00' '应纳税所得额|0.00' '税率|3' '速算扣除数|0.00' \
    '应纳税额|0.00' '已预扣税额|12.00' '应退税额|12.00')" "$(pay settle --year 2024)"

# Refusals: status and message.
while IFS='|' read -r args want message; do
    set +e
    # shellcheck disable=SC2086
    "$cli" pay $args --dir data >out.txt 2>err.txt
    code=$?
    set -e
    expect "status of $args" "$want" "$code"
    expect "message of $args" "$message" "$(cat err.txt)"
    expect "stdout of $args" "" "$(cat out.txt)"
done <<'CASES'
list --password 错|1|error -78: 工资记录：未提供数据库访问密码或提供了错误的密码
settle --year 2018 --password 秘密|1|qinghe-cli pay settle: 2018 has no settlement: wages were taxed month by month before 2019
settle --year 0|2|qinghe-cli pay settle: --year is 1 to 9999, not '0'
list --year 12345|2|qinghe-cli pay list: --year is 1 to 9999, not '12345'
list --month 1|2|qinghe-cli pay list: unknown option --month
list --yaer 2025|2|qinghe-cli pay list: unknown option --yaer
list 2025|2|qinghe-cli pay list: unexpected argument 2025
settle --year 2025 --year 2024|2|qinghe-cli pay settle: --year is given twice
list --password a --password b|2|qinghe-cli pay list: --password is given twice
list --dir data|2|qinghe-cli pay list: --dir is given twice
sum|2|qinghe-cli pay: unknown operation 'sum'
CASES
# The folder as journal takes it: neither the empty name nor one holding "\".
expect empty-dir 2 "$(status "$cli" pay list --dir '')"
expect empty-dir-said "qinghe-cli pay list: --dir needs a folder, not the empty name" \
    "$("$cli" pay list --dir '' 2>&1)"
expect backslash-dir 2 "$(status "$cli" pay list --dir 'data\x')"

# A pay record cut short (a copy that stopped inside its last row): cut
# back to the rows it holds, and said.
cp $t.EDB whole.EDB
truncate -s -10 $t.EDB
expect cut-said "qinghe-cli pay list: 工资记录的最后一条不完整，已去掉" "$(pay list 2>&1 >/dev/null)"
expect cut-listed '2025|3|0.01|0.00|0.00|0.00|0.00|0.01|原版规则' "$(pay list | tail -1 | tr "$tab" '|')"
expect cut-once "" "$(pay list 2>&1 >/dev/null)"
# A damaged pay record is named and said to be damaged: its password check,
# or its magic.
cp whole.EDB $t.EDB
printf 'XXXXXXXX' | dd of=$t.EDB bs=1 seek=30 conv=notrunc 2>/dev/null
expect damaged-check "error -78: 工资记录文件已损坏，密码校验部分已损坏，任何密码都打不开" \
    "$(pay list 2>&1 >/dev/null)"
expect wrong-password-of-damaged "error -78: 工资记录：未提供数据库访问密码或提供了错误的密码" \
    "$("$cli" pay list --dir data --password 错 2>&1 >/dev/null)"
printf 'XXXX' | dd of=$t.EDB bs=1 conv=notrunc 2>/dev/null
expect damaged-magic "error -22: 工资记录文件已损坏，指定文件不是数据库文件" "$(pay list 2>&1 >/dev/null)"

[ "$failures" -eq 0 ]
