#!/bin/sh
# qinghe-cli tax from the outside, byte for byte: its lines, where it reads,
# the months employed, the bonus, a change of employer, the settlement's
# extras, and how it refuses a bad line or option.
# Usage: tax_command_test.sh PATH-TO-QINGHE-CLI
set -eu
cli=$1
. "$(dirname "$0")/cli_expect.sh"

# The tax bureau's published example, three months: 555, 625 and 1,850 are
# withheld; leaving after March, the year's 60,000 refunds most of it.
lines 1\|30000\|4500\|2000\|0 2\|30000\|4500\|2000\|0 3\|30000\|4500\|2000\|0 >bureau.tsv
want=$(lines \
    '1|30000.00|5000.00|4500.00|2000.00|0.00|18500.00|3|0.00|555.00|0.00|555.00' \
    '2|60000.00|10000.00|9000.00|4000.00|0.00|37000.00|10|2520.00|1180.00|555.00|625.00' \
    '3|90000.00|15000.00|13500.00|6000.00|0.00|55500.00|10|2520.00|3030.00|1180.00|1850.00' \
    '年度|90000.00|10500.00|3|315.00|3030.00|-2715.00' \
    '结论|应退|2715.00')
expect bureau-stdin "$want" "$("$cli" tax <bureau.tsv)"
expect bureau-dash "$want" "$("$cli" tax - <bureau.tsv)"
expect bureau-file "$want" "$("$cli" tax bureau.tsv </dev/null)"
mkfifo bureau.fifo
timeout 20 sh -c 'cat bureau.tsv >bureau.fifo' 2>/dev/null &
expect bureau-fifo "$want" "$("$cli" tax bureau.fifo)"
# A byte-order mark, comments, empty lines and CR line ends change nothing.
{ printf '\357\273\277# 2024\n\n'; sed 's/$/\r/' bureau.tsv; } >commented.tsv
expect commented "$want" "$("$cli" tax commented.tsv)"

# The low-income rule takes the year's 60,000 in January.
expect low-income "$(lines '1|65000.00|60000.00|0.00|0.00|0.00|5000.00|3|0.00|150.00|0.00|150.00' \
    '年度|65000.00|5000.00|3|150.00|150.00|0.00' '结论|无需补退|0.00')" \
    "$(lines '1|65000|0|0|0' | "$cli" tax --low-income)"
expect without-it "$(lines '1|65000.00|5000.00|0.00|0.00|0.00|60000.00|10|2520.00|3480.00|0.00|3480.00' \
    '年度|65000.00|5000.00|3|150.00|3480.00|-3330.00' '结论|应退|3330.00')" \
    "$(lines '1|65000|0|0|0' | "$cli" tax)"
expect nothing-paid "$(lines '年度|0.00|0.00|3|0.00|0.00|0.00' '结论|无需补退|0.00')" \
    "$("$cli" tax </dev/null)"

# Unpaid leave in June: no line, yet a month employed. July's 5,000 x 7
# against six months' pay leaves 25,000 taxable, all withheld already; the
# year settles even (132,000 - 60,000 - 22,000 = 50,000: 2,480).
for m in 1 2 3 4 5 7 8 9 10 11 12; do lines "$m|12000|2000|0|0"; done >unpaid.tsv
expect unpaid-june "$(lines \
    '5|60000.00|25000.00|10000.00|0.00|0.00|25000.00|3|0.00|750.00|600.00|150.00' \
    '7|72000.00|35000.00|12000.00|0.00|0.00|25000.00|3|0.00|750.00|750.00|0.00' \
    '8|84000.00|40000.00|14000.00|0.00|0.00|30000.00|3|0.00|900.00|750.00|150.00' \
    '9|96000.00|45000.00|16000.00|0.00|0.00|35000.00|3|0.00|1050.00|900.00|150.00' \
    '10|108000.00|50000.00|18000.00|0.00|0.00|40000.00|10|2520.00|1480.00|1050.00|430.00' \
    '11|120000.00|55000.00|20000.00|0.00|0.00|45000.00|10|2520.00|1980.00|1480.00|500.00' \
    '12|132000.00|60000.00|22000.00|0.00|0.00|50000.00|10|2520.00|2480.00|1980.00|500.00' \
    '年度|132000.00|50000.00|10|2480.00|2480.00|0.00' '结论|无需补退|0.00')" \
    "$("$cli" tax unpaid.tsv | tail -n 9)"

# Hired in July, 10,000 less 1,600 a month: 3,400 x 3 % = 102 withheld each
# month, all refunded. As first wages of the year the allowance is 5,000 x m
# (35,000 in July) and nothing is due. Hired in May, paid from July: May and
# June count unpaid, 8,400 x 6 - 5,000 x 8 = 10,400 in December: 312.
for m in 7 8 9 10 11 12; do lines "$m|10000|1600|0|0"; done >july.tsv
expect hired-july "$(lines \
    '7|10000.00|5000.00|1600.00|0.00|0.00|3400.00|3|0.00|102.00|0.00|102.00' \
    '12|60000.00|30000.00|9600.00|0.00|0.00|20400.00|3|0.00|612.00|510.00|102.00' \
    '年度|60000.00|0.00|3|0.00|612.00|-612.00' '结论|应退|612.00')" \
    "$("$cli" tax july.tsv | sed -n '1p;6,$p')"
expect first-wages "$(lines \
    '7|10000.00|35000.00|1600.00|0.00|0.00|0.00|3|0.00|0.00|0.00|0.00' \
    '12|60000.00|60000.00|9600.00|0.00|0.00|0.00|3|0.00|0.00|0.00|0.00' \
    '年度|60000.00|0.00|3|0.00|0.00|0.00' '结论|无需补退|0.00')" \
    "$("$cli" tax --first-wages july.tsv | sed -n '1p;6,$p')"
expect hired-may "$(lines \
    '8|20000.00|20000.00|3200.00|0.00|0.00|0.00|3|0.00|0.00|0.00|0.00' \
    '9|30000.00|25000.00|4800.00|0.00|0.00|200.00|3|0.00|6.00|0.00|6.00' \
    '12|60000.00|40000.00|9600.00|0.00|0.00|10400.00|3|0.00|312.00|210.00|102.00' \
    '年度|60000.00|0.00|3|0.00|312.00|-312.00' '结论|应退|312.00')" \
    "$("$cli" tax --hired 5 july.tsv | sed -n '2,3p;6,$p')"

# A bonus at the bracket's edge, paid in December with 100,000 of wages
# (95,000 taxable: 6,980; the year 40,000: 1,480). 36,000 / 12 = 3,000 is
# in the 3 % bracket: 1,080; 36,000.01 / 12 is above it: 3,600.00 - 210 =
# 3,390.00. Merged, the year is 76,000 (76,000.01): 7,600 - 2,520 = 5,080.
# Σgross and the year leave a bonus taxed on its own out.
for mode in separate merged; do
    for bonus in 36000 36000.01; do
        lines "12|100000|0|0|0|$bonus" | "$cli" tax --bonus "$mode" >"bonus-$mode-$bonus.txt"
    done
done
expect bonus-separate "$(lines \
    '12|100000.00|5000.00|0.00|0.00|0.00|95000.00|10|2520.00|6980.00|0.00|6980.00' \
    '奖金|12|36000.00|3|0.00|1080.00' \
    '年度|100000.00|40000.00|10|1480.00|6980.00|-5500.00' \
    '奖金比较|2560.00|5080.00' '结论|应退|5500.00')" "$(cat bonus-separate-36000.txt)"
expect bonus-separate-edge "$(lines \
    '奖金|12|36000.01|10|210.00|3390.00' \
    '奖金比较|4870.00|5080.00')" "$(sed -n '2p;4p' bonus-separate-36000.01.txt)"
expect bonus-by-default "$(cat bonus-separate-36000.txt)" \
    "$(lines '12|100000|0|0|0|36000' | "$cli" tax)"
expect bonus-merged "$(lines \
    '12|136000.00|5000.00|0.00|0.00|0.00|131000.00|10|2520.00|10580.00|0.00|10580.00' \
    '年度|136000.00|76000.00|10|5080.00|10580.00|-5500.00' \
    '奖金比较|2560.00|5080.00' '结论|应退|5500.00')" "$(cat bonus-merged-36000.txt)"
expect bonus-merged-edge "$(lines \
    '12|136000.01|5000.00|0.00|0.00|0.00|131000.01|10|2520.00|10580.00|0.00|10580.00' \
    '奖金比较|4870.00|5080.00')" "$(sed -n '1p;3p' bonus-merged-36000.01.txt)"
# Merged, any number of bonuses; the comparison takes the one best alone.
expect bonuses-merged "$(lines '奖金比较|2560.00|5080.00')" \
    "$(lines '6|0|0|0|0|0.01' '12|100000|0|0|0|35999.99' | "$cli" tax --bonus merged | grep 奖金比较)"

# Employer 甲 pays 24,000 a month to June, 乙 from July: each withholds from
# its first month, 8,880 apiece. The year: 288,000 - 60,000 = 228,000 at 20 %
# - 16,920 = 28,680, so 10,920 is still to pay.
{
    lines 'employer|甲'
    for m in 1 2 3 4 5 6; do lines "$m|24000|0|0|0"; done
    lines 'employer|乙'
    for m in 7 8 9 10 11 12; do lines "$m|24000|0|0|0"; done
} >change.tsv
expect change-of-employer "$(lines 'employer|甲' \
    '1|24000.00|5000.00|0.00|0.00|0.00|19000.00|3|0.00|570.00|0.00|570.00' \
    '6|144000.00|30000.00|0.00|0.00|0.00|114000.00|10|2520.00|8880.00|6980.00|1900.00' \
    'employer|乙' \
    '7|24000.00|5000.00|0.00|0.00|0.00|19000.00|3|0.00|570.00|0.00|570.00' \
    '12|144000.00|30000.00|0.00|0.00|0.00|114000.00|10|2520.00|8880.00|6980.00|1900.00' \
    '年度|288000.00|228000.00|20|28680.00|17760.00|10920.00' '结论|应补|10920.00')" \
    "$("$cli" tax change.tsv | sed -n '1,2p;7,9p;14,$p')"
# 大病医疗: 20,000 of costs deduct 5,000 (223,000: 27,680); 100,000 deduct
# at most 80,000 (148,000: 29,600 - 16,920 = 12,680, refunding 5,080).
expect medical "$(lines '年度|288000.00|223000.00|20|27680.00|17760.00|9920.00' \
    '结论|应补|9920.00')" "$("$cli" tax --medical 20000 change.tsv | tail -n 2)"
expect medical-capped "$(lines '年度|288000.00|148000.00|20|12680.00|17760.00|-5080.00' \
    '结论|应退|5080.00')" "$("$cli" tax --medical 100000 change.tsv | tail -n 2)"

# 免予汇算. The first employer withholds nothing (60,000 from January, 40,000
# special); the second pays 39,571.42 in December: 34,571.42 x 3 % =
# 1,037.14. The year: 39,571.42 x 10 % - 2,520 = 1,437.14, 400.00 to pay,
# which need not be; at 39,571.45 it is 1,437.15 and 400.01 is to pay.
expect exempt-400 "$(lines '1|100000.00|60000.00|40000.00|0.00|0.00|0.00|3|0.00|0.00|0.00|0.00' \
    'employer|乙' '12|39571.42|5000.00|0.00|0.00|0.00|34571.42|3|0.00|1037.14|0.00|1037.14' \
    '年度|139571.42|39571.42|10|1437.14|1037.14|400.00' '结论|无需补税（免予办理）|400.00')" \
    "$(lines '1|100000|40000|0|0' 'employer|乙' '12|39571.42|0|0|0' | "$cli" tax --low-income)"
expect to-pay-400.01 "$(lines '结论|应补|400.01')" \
    "$(lines '1|100000|40000|0|0' 'employer|乙' '12|39571.45|0|0|0' | "$cli" tax --low-income |
        tail -n 1)"
# An income of 120,000 (90,000 and 30,000): 60,000 taxable, 3,480 against
# 900 + 750 withheld; 1,830 need not be paid. A fen more and it must.
expect exempt-120000 "$(lines '年度|120000.00|60000.00|10|3480.00|1650.00|1830.00' \
    '结论|无需补税（免予办理）|1830.00')" \
    "$(lines '1|90000|0|0|0' 'employer|乙' '12|30000|0|0|0' | "$cli" tax --low-income | tail -n 2)"
expect to-pay-120000.01 "$(lines '结论|应补|1830.00')" \
    "$(lines '1|90000|0|0|0' 'employer|乙' '12|30000.01|0|0|0' | "$cli" tax --low-income |
        tail -n 1)"

# A bad line: status 2, its number on stderr, nothing on stdout. One case a
# line: the number of the line to blame, then the input, its lines separated
# by "/" and "|" standing for a TAB.
while IFS=' ' read -r blamed input; do
    printf '%s\n' "$input" | tr '/|' "\n$tab" >bad.tsv
    set +e
    "$cli" tax bad.tsv >out.txt 2>err.txt
    code=$?
    set -e
    expect "status of $input" 2 "$code"
    expect "stdout of $input" "" "$(cat out.txt)"
    grep -q "^qinghe-cli tax: line $blamed: " err.txt ||
        expect "stderr of $input" "line $blamed" "$(cat err.txt)"
done <<'CASES'
2 1|1|0|0|0/13|1|0|0|0
1 0|1|0|0|0
1 a|1|0|0|0
1 1.0|1|0|0|0
1 1 |1|0|0|0
2 #/1|1|0|0
1 1|1|0|0|0|0|0
1 1|1|0|0
1 1|1.005|0|0|0
1 1|1|0|0|0|-1
1 1|1|0|0|0|0.001
1 1|1|0|0|0|
3 1|1|0|0|0|5/#/2|1|0|0|0|5
5 employer|甲/1|1|0|0|0/employer|乙/3|1|0|0|0|1/4|1|0|0|0|1
1 employer
1 employer|
1 employer|甲|乙
1 employer|甲/employer|乙/1|1|0|0|0
2 1|1|0|0|0/employer|乙
2 1|1|0|0|0/employer|乙/employer|丙/1|1|0|0|0
1 Employer|甲
1 1|1|-1|0|0
1 1|1|0||0
1 1|1|0|0|1e3
1 1|1|0|0| 0
2 1|1|0|0|0/1|1000000000000|0|0|0
2 3|1|0|0|0/3|1|0|0|0
3 3|1|0|0|0//2|1|0|0|0
CASES
expect message "qinghe-cli tax: line 1: the gross '1.005' has more than two decimals" \
    "$(lines '1|1.005|0|0|0' | "$cli" tax 2>&1 >/dev/null || true)"

# A hundred month lines a year at most (nine employers of twelve months fill 108).
for e in 1 2 3 4 5 6 7 8 9; do
    lines "employer|$e"
    for m in 1 2 3 4 5 6 7 8 9 10 11 12; do lines "$m|1|0|0|0"; done
done >many.tsv
expect too-many "qinghe-cli tax: line 110: a year holds at most 100 month lines" \
    "$("$cli" tax many.tsv 2>&1 >/dev/null || true)"
expect second-bonus "qinghe-cli tax: line 3: a second bonus (the first is on line 1): one bonus a year is taxed on its own; --bonus merged merges them all" \
    "$(lines '1|1|0|0|0|5' '#' '2|1|0|0|0|5' | "$cli" tax 2>&1 >/dev/null || true)"
expect before-hire "qinghe-cli tax: line 1: month 3 comes before the month of hire, 7 (--hired)" \
    "$(lines '3|1|0|0|0' | "$cli" tax --hired 7 2>&1 >/dev/null || true)"
expect no-name "qinghe-cli tax: line 1: the employer's name '$(printf '\360\237\230\200')' has a character without a GBK form" \
    "$(printf 'employer\t\360\237\230\200\n' | "$cli" tax 2>&1 >/dev/null || true)"

# A bad option: status 2, its message and the usage on stderr, nothing on
# stdout.
usage='usage: qinghe-cli tax [--low-income] [--first-wages] [--hired M] [--bonus separate|merged] [--medical AMOUNT] [FILE|-]'
while IFS='|' read -r message args; do
    set +e
    # shellcheck disable=SC2086 # the arguments split at blanks on purpose
    "$cli" tax $args </dev/null >out.txt 2>err.txt
    code=$?
    set -e
    expect "status of $args" 2 "$code"
    expect "stdout of $args" "" "$(cat out.txt)"
    expect "stderr of $args" "$(printf 'qinghe-cli tax: %s\n%s' "$message" "$usage")" "$(cat err.txt)"
done <<'CASES'
unexpected argument '--low'|--low
unexpected argument 'bureau.tsv'|bureau.tsv bureau.tsv
--hired is a month, 1 to 12, not '0'|--hired 0
--hired is a month, 1 to 12, not '13'|--hired 13
--hired is a month, 1 to 12, not 'x'|--hired x
--hired needs a value|--hired
--hired is given twice|--hired 1 --hired 1
--low-income is given twice|--low-income --low-income
--first-wages is given twice|--first-wages - --first-wages
--bonus is separate or merged, not 'apart'|--bonus apart
--medical '-1' is negative|--medical -1
--medical '1.005' has more than two decimals|--medical 1.005
--medical 'x' is not an amount|--medical x
CASES
expect after-dashes 1 "$(status "$cli" tax -- --hired)"
expect missing-file 1 "$(status "$cli" tax missing.tsv)"

# An input that cannot be read is a failure with its reason, never a
# settlement of nothing: the standard input closed or a folder, a folder
# named, an input past the bound.
mkdir folder
truncate -s 17M large.tsv
while IFS='|' read -r what want; do
    said=$(sh -c "\"\$0\" tax $what" "$cli" 2>&1 || echo "status $?")
    expect "unreadable $what" "qinghe-cli tax: cannot read $want
status 1" "$said"
done <<'CASES'
<&-|the standard input: 无效的文件号
<folder|the standard input: it is a folder
- <folder|the standard input: it is a folder
folder|folder: it is a folder
large.tsv|large.tsv: too large (more than 16 MiB)
<large.tsv|the standard input: too large (more than 16 MiB)
CASES

[ "$failures" -eq 0 ]
