#!/usr/bin/env bash
# Start-up of the window program against a bare Qt 6 window, both timed as
# whole processes from launch until their window is painted, in turn, after
# one warm-up run of each. Prints each one's median wall time and the median
# of the pairwise ratios; the goal is a ratio within 1.5.
#
#   bench/startup_time.sh [BUILD_DIR] [RUNS]      (default: build, 21 runs)
#
# Needs a build with -DQINGHE_BENCH=ON. Without a display it uses Qt's
# offscreen platform.
set -euo pipefail
build=${1:-build}
runs=${2:-21}
probe="$build/bench/startup_probe"
bare="$build/bench/bare_window"
for p in "$probe" "$bare"; do
    [ -x "$p" ] || { echo "missing $p: configure with -DQINGHE_BENCH=ON and build" >&2; exit 2; }
done
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

# Wall time of one run in microseconds.
wall_us() {
    local start end
    start=$(date +%s%N)
    "$1" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

wall_us "$probe" >/dev/null
wall_us "$bare" >/dev/null
probe_times=()
bare_times=()
ratios=()
for ((i = 0; i < runs; i++)); do
    p=$(wall_us "$probe")
    b=$(wall_us "$bare")
    probe_times+=("$p")
    bare_times+=("$b")
    ratios+=("$(awk -v p="$p" -v b="$b" 'BEGIN { printf "%.4f", p / b }')")
done

printf 'runs: %d each, alternating\n' "$runs"
printf 'window program  median %8.1f ms\n' "$(printf '%s\n' "${probe_times[@]}" | median | awk '{ print $1 / 1000 }')"
printf 'bare Qt window  median %8.1f ms\n' "$(printf '%s\n' "${bare_times[@]}" | median | awk '{ print $1 / 1000 }')"
printf 'ratio (program / bare), median of pairs: %s\n' "$(printf '%s\n' "${ratios[@]}" | median)"
