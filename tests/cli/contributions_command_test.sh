#!/bin/sh
# qinghe-cli contributions from the outside, byte for byte: the items from
# the bases, the rounding, the taxable housing fund, the city figures of
# 城市参数.txt by month, and how it refuses bad usage and a bad file.
# Usage: contributions_command_test.sh PATH-TO-QINGHE-CLI
set -eu
cli=$1
. "$(dirname "$0")/cli_expect.sh"
export XDG_DATA_HOME="$work/data"

# One case a paragraph: the arguments, then the six lines expected ("|" a
# TAB). Worked by hand: 10,000.50 x 15 % = 1,500.075, 1,500.08 to the fen
# and 1,500 to the yuan, of which 12 % of the base (1,200.06, or 1,200) is
# deducted.
check() {  # check ARGUMENTS EXPECTED-LINE...
    args=$1
    shift
    # shellcheck disable=SC2086  # the arguments are words
    expect "contributions $args" "$(lines "$@")" "$("$cli" contributions $args 2>/dev/null)"
}
check '--base 8000' '养老|8000.00|8|640.00' '医疗|8000.00|2|160.00' '失业|8000.00|0.5|40.00' \
    '公积金|8000.00|12|960.00' '合计|1800.00' '应税公积金|0.00'
check '--base 8000 --fixed 3' '养老|8000.00|8|640.00' '医疗|8000.00|2|163.00' \
    '失业|8000.00|0.5|40.00' '公积金|8000.00|12|960.00' '合计|1803.00' '应税公积金|0.00'
check '--base 10000.5 --rates 8,2,0.5,15' '养老|10000.50|8|800.04' '医疗|10000.50|2|200.01' \
    '失业|10000.50|0.5|50.00' '公积金|10000.50|15|1500.08' '合计|2550.13' '应税公积金|300.02'
check '--fund-rounding yuan --rates 8,2,0.5,15 --base 10000.5' '养老|10000.50|8|800.04' \
    '医疗|10000.50|2|200.01' '失业|10000.50|0.5|50.00' '公积金|10000.50|15|1500.00' \
    '合计|2550.05' '应税公积金|300.00'
check '--base 8000 --fund-base 0 --rates 8.00,2.50,0.50,12.0 --fund-rounding fen' \
    '养老|8000.00|8|640.00' '医疗|8000.00|2.5|200.00' '失业|8000.00|0.5|40.00' \
    '公积金|0.00|12|0.00' '合计|880.00' '应税公积金|0.00'
check '--base 1 --rates 100,0,0,100' '养老|1.00|100|1.00' '医疗|1.00|0|0.00' \
    '失业|1.00|0|0.00' '公积金|1.00|100|1.00' '合计|2.00' '应税公积金|0.88'

# The city's figures, each from its month: in 2025-06 the floor of 2024, in
# 2025-07 the new floor, the city's rates and fixed amount; --rates and
# --fixed win over them; before the first line nothing is known.
mkdir city
lines '# 本市（示例）' '2024-07|社保基数下限|4000' '2024-07|社保基数上限|20000' \
    '2025-07|社保基数下限|4492' '2025-07|社保基数上限|22458' '2025-07|公积金基数下限|2690' \
    '2025-07|公积金基数上限|37302' '2025-07|医疗固定额|3' '2025-07|公积金比例|7' >city/城市参数.txt
check '--base 3000 --dir city --month 2025-06' '养老|4000.00|8|320.00' '医疗|4000.00|2|80.00' \
    '失业|4000.00|0.5|20.00' '公积金|3000.00|12|360.00' '合计|780.00' '应税公积金|0.00'
check '--base 3000 --dir city --month 2025-07' '养老|4492.00|8|359.36' '医疗|4492.00|2|92.84' \
    '失业|4492.00|0.5|22.46' '公积金|3000.00|7|210.00' '合计|684.66' '应税公积金|0.00'
check '--base 30000 --fund-base 40000 --rates 8,2,0.5,12 --fixed 0 --dir city --month 2030-01' \
    '养老|22458.00|8|1796.64' '医疗|22458.00|2|449.16' '失业|22458.00|0.5|112.29' \
    '公积金|37302.00|12|4476.24' '合计|6834.33' '应税公积金|0.00'
check '--base 3000 --dir city --month 2024-06' '养老|3000.00|8|240.00' '医疗|3000.00|2|60.00' \
    '失业|3000.00|0.5|15.00' '公积金|3000.00|12|360.00' '合计|675.00' '应税公积金|0.00'
expect said "qinghe-cli contributions: 社保缴费基数低于本市下限4492.00元，按下限计算" \
    "$("$cli" contributions --base 3000 --dir city --month 2025-07 2>&1 >/dev/null)"
# Without --month, this month; without --dir no file at all, not even the
# data folder's: the defaults hold.
mkdir -p data/qinghe
lines '2000-01|养老比例|8.5' >data/qinghe/城市参数.txt
expect this-month "$(lines "养老|3000.00|8.5|255.00")" \
    "$("$cli" contributions --base 3000 --dir data/qinghe | head -n 1)"
expect no-dir-no-file "$(lines "养老|3000.00|8|240.00")" "$("$cli" contributions --base 3000 | head -n 1)"

# A bad line of the file: status 2, its number, nothing on stdout; a file
# that cannot be read: status 1.
lines '2025-07|最低工资|2690' '2025-07|养老比例|101' >city/城市参数.txt
set +e
"$cli" contributions --base 3000 --dir city >out.txt 2>err.txt
code=$?
set -e
expect bad-line-status 2 "$code"
expect bad-line-stdout "" "$(cat out.txt)"
expect bad-line-said "qinghe-cli contributions: $work/city/城市参数.txt line 2: the value is not a number of at least 0 with at most two decimals, or is a percent above 100" \
    "$(cat err.txt)"
rm city/城市参数.txt
mkdir city/城市参数.txt
expect unreadable 1 "$(status "$cli" contributions --base 3000 --dir city)"

# Bad usage: status 2 and nothing on stdout.
while read -r args; do
    set +e
    # shellcheck disable=SC2086
    "$cli" contributions $args >out.txt 2>/dev/null
    code=$?
    set -e
    expect "status of $args" 2 "$code"
    expect "stdout of $args" "" "$(cat out.txt)"
done <<'CASES'
--fixed 3
--base
--base -1
--base 1.005
--base 1e3
--base 1,000
--base 1 --base 2
--base 1 --fund-base 1.234
--base 1 --rates 8,2,0.5
--base 1 --rates 8,2,0.5,12,1
--base 1 --rates 8,,0.5,12
--base 1 --rates 8,2,0.5,100.01
--base 1 --rates 8%,2,0.5,12
--base 1 --fixed -3
--base 1 --fund-rounding jiao
--base 1 --month 2025-13
--base 1 --month 2025-7
--base 1 extra
--base 1 -- extra
--base 1 --unknown 2
CASES
expect empty-dir 2 "$(status "$cli" contributions --base 1 --dir '')"

[ "$failures" -eq 0 ]
