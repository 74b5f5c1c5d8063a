#!/usr/bin/env bash
# qinghe-cli days --rules current over 2000-01-01 .. 2048-12-31 against
# qinghe-cli lunar over the same days (its peer: a lunar conversion, a month
# length and a solar-term search a day, as days does), each timed as a whole
# process, in turn, after one warm-up run of each. Prints each side's median
# wall time and the median of the pairwise ratios; the goal is within 1.5.
# Runs in a data folder of its own (no arrangements file of the person's).
#
#   bench/holidays/days_time.sh [BUILD_DIR] [RUNS]   (default: build, 21 runs)
set -euo pipefail
build=${1:-build}
runs=${2:-21}
cli="$build/src/cli/qinghe-cli"
[ -x "$cli" ] || { echo "missing $cli: build first" >&2; exit 2; }
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
export XDG_DATA_HOME=$folder

# Wall time of one run of the command in microseconds (bash's own clock).
wall_us() {
    local start end
    start=${EPOCHREALTIME/./}
    "$@" >/dev/null
    end=${EPOCHREALTIME/./}
    echo $((end - start))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

days=("$cli" days --rules current 2000-01-01 2048-12-31)
lunar=("$cli" lunar 2000-01-01 2048-12-31)
wall_us "${days[@]}" >/dev/null
wall_us "${lunar[@]}" >/dev/null
day_times=() lunar_times=() ratios=()
for ((i = 0; i < runs; i++)); do
    d=$(wall_us "${days[@]}")
    l=$(wall_us "${lunar[@]}")
    day_times+=("$d") lunar_times+=("$l")
    ratios+=("$(awk -v d="$d" -v l="$l" 'BEGIN { printf "%.4f", d / l }')")
done
printf 'days --rules current: %s ms\n' "$(printf '%s\n' "${day_times[@]}" | median | awk '{ printf "%.1f", $1 / 1000 }')"
printf 'lunar:                %s ms\n' "$(printf '%s\n' "${lunar_times[@]}" | median | awk '{ printf "%.1f", $1 / 1000 }')"
printf 'ratio (median of %d pairs): %s (goal <= 1.5)\n' "$runs" "$(printf '%s\n' "${ratios[@]}" | median)"
