#!/bin/sh
# What qinghe-cli does to the files it is pointed at, from the outside: the
# journal export never writes over the data folder's own files, writes into
# a FIFO or a link's target instead of replacing them, keeps the mode of what
# it replaces, leaves no temporary behind a killed run, and cannot be turned
# by another local user against the files of the person who runs it; a FIFO
# in the journal's place is an error at once, never a hang; tables replaced
# by the record store keep their mode and their links.
# Usage: file_safety_test.sh PATH-TO-QINGHE-CLI
set -eu
cli=$1
. "$(dirname "$0")/cli_expect.sh"

j() {  # the journal in ./data with its password
    "$cli" journal "$@" --dir data --password 秘密
}
mode() { stat -c %a "$1"; }
kind() { stat -c %F "$1"; }

j init
for day in 01 02 03 04 05 06 07 08 09 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28; do
    j record 2013-05-$day 8 --kind G1
done
printf '[工资总项目]\r\n夜班=夜班\r\n' >data/配置项目.ini
mkdir data/数据库备份
cp data/加班.EDB data/数据库备份/加班备份.edb
j export >want.csv
cp -r data pristine

# The data folder's own files, by any name that reaches them: refused, and
# nothing changed.
ln -s data/加班.EDB journal-link.csv
ln data/加班.EDB journal-hard-link.csv
for target in data/加班.EDB data/加班.edb data/配置项目.INI data/数据库备份/加班备份.EDB \
    journal-link.csv journal-hard-link.csv ./data/../data/加班.EDB; do
    expect "own file $target" 1 "$(status j export --output "$target")"
    expect "own file $target unchanged" "" "$(diff -r pristine data 2>&1)"
    rm -rf data journal-link.csv journal-hard-link.csv
    cp -r pristine data
    ln -s data/加班.EDB journal-link.csv
    ln data/加班.EDB journal-hard-link.csv
done
expect own-file-message \
    "qinghe-cli journal export: data/加班.edb is one of the data folder's own files; nothing written" \
    "$(j export --output data/加班.edb 2>&1 >/dev/null || true)"
# The year's chart is written the same way: a picture's name that leads to
# the journal is refused.
ln -s data/加班.EDB journal-link.svg
expect own-file-chart 1 "$(status j chart --year 2013 --output journal-link.svg)"
expect own-file-chart-unchanged "" "$(diff -r pristine data 2>&1)"

# "-" and a FIFO are written to, never replaced.
expect dash "" "$(j export --output - | cmp - want.csv 2>&1)"
expect no-dash-file "" "$(ls -- - 2>/dev/null || true)"
mkfifo out.fifo
timeout 20 cat out.fifo >from-fifo.csv &
reader=$!
expect fifo-status 0 "$(status timeout 20 "$cli" journal export --output out.fifo --dir data \
    --password 秘密)"
wait "$reader" || true
expect fifo-bytes "" "$(cmp from-fifo.csv want.csv 2>&1)"
expect fifo-stays "fifo" "$(kind out.fifo)"

# A link is followed to its target; a replaced file keeps its mode; a new
# one is private.
printf old >target.csv
chmod 640 target.csv
ln -s target.csv link.csv
j export --output link.csv
expect link-stays "symbolic link" "$(kind link.csv)"
expect link-target "" "$(cmp target.csv want.csv 2>&1)"
expect target-mode 640 "$(mode target.csv)"
j export --output new.csv
expect new-mode 600 "$(mode new.csv)"

# An export killed part-way (the file-size limit ends it with SIGXFSZ in the
# middle of its write) leaves a temporary; the next export to that file
# removes it.
mkdir killed
{ (ulimit -f 1 && exec "$cli" journal export --output killed/out.csv --dir data \
    --password 秘密) || true; } 2>/dev/null
expect killed-left-something "yes" "$([ -n "$(ls killed)" ] && echo yes || echo no)"
j export --output killed/out.csv
expect killed-swept "out.csv" "$(ls killed)"

# A FIFO in the journal's place is an error at once.
mkdir fifo-data
mkfifo fifo-data/加班.EDB
expect fifo-journal 1 "$(status timeout 20 "$cli" journal totals 2013-05-31 --dir fifo-data)"

# Tables that the record store replaces keep their mode and their links.
"$cli" table create 源 日期:8 G1:3
"$cli" table append 源 2013-05-05 5
"$cli" table create 副本 日期:8
chmod 600 副本.EDB
"$cli" table copy 源 副本
expect copy-mode 600 "$(mode 副本.EDB)"
"$cli" table create 真 日期:8
chmod 640 真.EDB
ln -s 真.EDB 链.EDB
"$cli" table sort 源 链 日期
expect sort-link-stays "symbolic link" "$(kind 链.EDB)"
expect sort-into-target "1" "$("$cli" table info 真 | sed -n 's/^count\t//p')"
expect sort-target-mode 640 "$(mode 真.EDB)"
"$cli" table create 链 日期:8 G1:3
expect create-link-stays "symbolic link" "$(kind 链.EDB)"
expect create-target-mode 640 "$(mode 真.EDB)"
# Only the permission bits: never a set-id or sticky bit on the new bytes.
chmod 7750 副本.EDB target.csv
"$cli" table copy 源 副本
j export --output target.csv
expect set-id-dropped "750 750" "$(mode 副本.EDB) $(mode target.csv)"

# Another local user who may write to the output's folder knows the process
# id of the export before it starts, and plants links under every name a
# temporary of it could have had: the export must neither follow them nor
# write over the file they point to. Needs root, to be that other user.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
    chmod 755 "$work"
    mkdir shared
    chmod 1777 shared
    printf 'secret\n' >secret
    chmod 600 secret
    sh -c 'echo $$ >pid; while [ ! -e go ]; do sleep 0.05; done
           exec "$1" journal export --output shared/out.csv --dir data --password 秘密' \
        sh "$cli" &
    victim=$!
    while [ ! -s pid ]; do sleep 0.05; done
    setpriv --reuid=nobody --regid=nogroup --clear-groups \
        ln -s "$work/secret" "shared/out.csv.~$(cat pid)"
    touch go
    wait "$victim" || true
    expect attacker-secret-intact "secret" "$(cat secret)"
    expect attacker-export-written "" "$(cmp shared/out.csv want.csv 2>&1)"
fi

[ "$failures" -eq 0 ]
