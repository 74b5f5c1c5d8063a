#!/usr/bin/env bash
# Every qinghe-cli table operation on small hostile tables: files of at most
# 1 MB on disk (most of them sparse) whose headers claim far more. Each run is
# a whole process, timed and measured by /usr/bin/time; the goal is that every
# one finishes within 1 s and 64 MiB, whatever it answers. Prints one line a
# run: case, operation, exit status, seconds, peak memory in KiB, and "!" where
# the goal is missed.
#
#   bench/recordstore/hostile_files.sh [BUILD_DIR]      (default: build)
#
# Needs a file system with sparse files (ext4, xfs, btrfs, tmpfs).
set -euo pipefail
build=${1:-build}
cli=$(realpath "$build/src/cli/qinghe-cli")
[ -x "$cli" ] || { echo "missing $cli: build qinghe-cli" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# put32 FILE OFFSET VALUE: the little-endian int32 VALUE at OFFSET, in place.
put32() {
    local v=$(($3 & 0xFFFFFFFF))
    printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $((v & 255)) $((v >> 8 & 255)) \
        $((v >> 16 & 255)) $((v >> 24 & 255)))" |
        dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# Offsets of FORMAT.md.
count=16 reclen=24 fields=112 desc=116 textsize=28
int_table() { "$cli" table create t n:3 >/dev/null; }
memo_table() {
    "$cli" table create t n:3 m:12 >/dev/null
    "$cli" table append t 1 "$(printf '%0700d' 1)" >/dev/null  # blocks 1 and 2
}

# The cases: each makes t.EDB (and t.EDT) in the current directory.
case_field_count() {  # 2^31 - 1 descriptors claimed over a 155 GB sparse file
    int_table
    put32 t.EDB $fields 2147483647
    truncate -s $((116 + 72 * 2147483647 + 8)) t.EDB
}
case_record_length() {  # a record length the one int field does not explain
    int_table
    put32 t.EDB $reclen 2147483646
}
case_huge_text() {  # a text field of 2^31 - 6 bytes that explains its record length
    "$cli" table create t s:10:8 >/dev/null
    put32 t.EDB $reclen 2147483646
    put32 t.EDB $((desc + textsize)) 2147483642
}
case_sparse_records() {  # 3 records, then a hole to 1.5 GiB, all of it counted
    int_table
    for i in 1 2 3; do "$cli" table append t $i >/dev/null; done
    local n=$(((3 * (1 << 29) - 188) / 8))
    put32 t.EDB $count $n
    truncate -s $((188 + 8 * n)) t.EDB
}
case_many_records() {  # a count of 2^31 - 2 records of 8 bytes over a 16 GiB sparse file
    int_table
    put32 t.EDB $count 2147483646
    truncate -s $((188 + 8 * 2147483646)) t.EDB
}
case_chain_circle() {  # a memo chain 1 -> 2 -> 1 in a 2 GiB sparse auxiliary file
    memo_table
    put32 t.EDT $((2 * 512 + 4)) 1
    put32 t.EDT 16 $(((1 << 22) - 1))
    truncate -s $((((1 << 22) - 1) * 512)) t.EDT
}
case_aux_terabyte() {  # an auxiliary file claiming 2^31 - 1 blocks over 1 TB
    memo_table
    put32 t.EDT 16 2147483647
    truncate -s $((2147483647 * 512)) t.EDT
}
case_free_circle() {  # a free list of 4 million blocks claimed, block 3 linked to itself
    memo_table
    "$cli" table append t 2 "$(printf '%0100d' 2)" >/dev/null  # block 3
    local blocks=$(((1 << 22) - 1))
    put32 t.EDT 16 $blocks
    put32 t.EDT 20 $((blocks - 1))
    put32 t.EDT 24 3
    put32 t.EDT $((3 * 512 + 4)) 3
    truncate -s $((blocks * 512)) t.EDT
}

operations=(
    "info t --read-only" "info t" "dump t --read-only" "dump t" "append t 7"
    "delete-last t" "pack t" "zap t" "sort t sorted n" "copy t copied" "passwd t pw" "check t"
)

printf '%-16s %-20s %4s %7s %8s\n' case "operation (table ...)" exit seconds peak-KiB
for c in field_count record_length huge_text sparse_records many_records chain_circle \
    aux_terabyte free_circle; do
    mkdir "$work/$c"
    (cd "$work/$c" && "case_$c")
    for op in "${operations[@]}"; do
        run="$work/run"
        rm -rf "$run" && mkdir "$run"
        cp --sparse=always "$work/$c"/t.* "$run/"
        disk=$(du -k "$run" | cut -f1)
        [ "$disk" -le 1024 ] || { echo "$c: $disk KiB on disk, more than 1 MB" >&2; exit 1; }
        set +e
        # shellcheck disable=SC2086  # the operation's words
        (cd "$run" && /usr/bin/time -f '%e %M' -o "$work/time" timeout 60 "$cli" table $op \
            >/dev/null 2>&1)
        status=$?
        set -e
        read -r seconds peak < <(tail -n 1 "$work/time") || { seconds=? peak=?; }
        mark=
        if [ "$seconds" = "?" ] || awk -v s="$seconds" -v p="$peak" \
            'BEGIN { exit !(s > 1 || p > 65536) }'; then mark='!'; fi
        printf '%-16s %-20s %4s %7s %8s %s\n' "$c" "$op" "$status" "$seconds" "$peak" "$mark"
    done
    rm -rf "${work:?}/$c"
done
