#!/bin/sh
# Two recorders, a sorter and a password changer on one journal at once, each
# a loop of qinghe-cli processes, for a few seconds: every day that
# `journal record` acknowledged (exit status 0) is in the journal afterwards,
# and the journal is sound. Prints how many days were acknowledged.
# Usage: journal_race_test.sh PATH-TO-QINGHE-CLI [SECONDS]
set -eu
cli=$1
seconds=${2:-3}
. "$(dirname "$0")/cli_expect.sh"

"$cli" journal init --dir data --password a
(sleep "$seconds" && : >stop) &
running() {
    [ ! -e stop ]
}

# Runs a journal operation with the password the journal has now, a or b;
# a wrong one fails with nothing done.
journal() {
    "$cli" journal "$@" --dir data --password a 2>/dev/null ||
        "$cli" journal "$@" --dir data --password b 2>/dev/null
}

recorder() {  # recorder YEAR: records day after day (28 a month) from 1 January of YEAR on
    i=0
    : >"acked.$1"
    while running; do
        day=$(printf '%04d-%02d-%02d' $(($1 + i / 336)) $((i / 28 % 12 + 1)) $((i % 28 + 1)))
        if journal record "$day" 1 --kind G1; then echo "$day" >>"acked.$1"; fi
        i=$((i + 1))
    done
}

recorder 2000 &
recorder 2100 &
while running; do journal sort || true; done &
while running; do
    "$cli" table passwd data/加班 b --password a 2>/dev/null ||
        "$cli" table passwd data/加班 a --password b 2>/dev/null || true
done &
wait

sort acked.2000 acked.2100 >acked
password=a
"$cli" journal grid --dir data --password a >/dev/null 2>&1 || password=b
"$cli" journal export --dir data --password $password | tr -d '\r' | sed 1d | cut -d, -f1 |
    sort >held
expect "acknowledged days lost" "" "$(comm -23 acked held)"
expect "journal sound" 0 "$(status "$cli" table check data/加班 --password $password)"
acked=$(wc -l <acked)
echo "$acked days acknowledged, $(wc -l <held) held"
expect "days acknowledged" yes "$([ "$acked" -gt 0 ] && echo yes || echo no)"

[ "$failures" -eq 0 ]
