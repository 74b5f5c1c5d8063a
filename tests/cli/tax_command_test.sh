#!/bin/sh
# qinghe-cli tax from the outside, byte for byte: its lines, where it reads,
# and how it refuses a bad line.
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
    '年度|90000.00|10500.00|3|315.00|3030.00|-2715.00')
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
    '年度|65000.00|5000.00|3|150.00|150.00|0.00')" \
    "$(lines '1|65000|0|0|0' | "$cli" tax --low-income)"
expect without-it "$(lines '1|65000.00|5000.00|0.00|0.00|0.00|60000.00|10|2520.00|3480.00|0.00|3480.00' \
    '年度|65000.00|5000.00|3|150.00|3480.00|-3330.00')" \
    "$(lines '1|65000|0|0|0' | "$cli" tax)"
expect nothing-paid "$(lines '年度|0.00|0.00|3|0.00|0.00|0.00')" "$("$cli" tax </dev/null)"

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
1 1|1|0|0|0|0
1 1|1.005|0|0|0
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

expect unknown-option 2 "$(status "$cli" tax --low)"
expect two-files 2 "$(status "$cli" tax bureau.tsv bureau.tsv)"
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
