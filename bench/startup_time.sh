#!/usr/bin/env bash
# Start-up of the window program against a bare Qt window that paints one
# line of Chinese text in the program's font (the fair floor: any Chinese
# window pays for its fonts), both timed as whole processes, in turn, after
# one warm-up run of each:
#   1. launch until the password box is painted;
#   2. launch until the main window is painted with its first values, the
#      password given to the program through its test seam;
# both over an enciphered journal of 3,650 records (ten years of days); and,
# for reference (no goal of its own),
#   2a. launch until the same window is painted without the start-up's work
#       (no password, no journal, no calculation): what the page's own
#       controls and text cost, the floor under step 2.
# Prints each side's median wall time and the median of the pairwise ratios;
# the goal is a ratio within 1.5 for steps 1 and 2. Then
#   3. the processor time the program uses while the sayings are written on
#      the page 使用说明, as a share of the wall time (the goal: below 5 %).
#
#   bench/startup_time.sh [BUILD_DIR] [RUNS] [SECONDS]
#       (default: build, 21 runs, 60 seconds of the sayings' animation)
#
# Needs a build with -DQINGHE_BENCH=ON. Without a display it uses Qt's
# offscreen platform.
set -euo pipefail
build=${1:-build}
runs=${2:-21}
seconds=${3:-60}
probe="$build/bench/startup_probe"
bare="$build/bench/bare_window"
maker="$build/bench/startup_journal"
for p in "$probe" "$bare" "$maker"; do
    [ -x "$p" ] || { echo "missing $p: configure with -DQINGHE_BENCH=ON and build" >&2; exit 2; }
done
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
password=benchmark
"$maker" "$folder" "$password" 3650

# Wall time of one run of the command in microseconds (bash's own clock: no
# process of its own in the measured span).
wall_us() {
    local start end
    start=${EPOCHREALTIME/./}
    "$@" >/dev/null 2>&1
    end=${EPOCHREALTIME/./}
    echo $((end - start))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
in_ms() { printf '%s\n' "$@" | median | awk '{ printf "%.1f", $1 / 1000 }'; }

# compare LABEL PROBE_ARGS...: the probe with those arguments against the bare window.
compare() {
    local label=$1 p b
    shift
    local probe_times=() bare_times=() ratios=()
    wall_us "$probe" "$@" >/dev/null
    wall_us "$bare" >/dev/null
    for ((i = 0; i < runs; i++)); do
        p=$(wall_us "$probe" "$@")
        b=$(wall_us "$bare")
        probe_times+=("$p")
        bare_times+=("$b")
        ratios+=("$(awk -v p="$p" -v b="$b" 'BEGIN { printf "%.4f", p / b }')")
    done
    printf '%-36s median %7s ms   bare window %7s ms   ratio (median of pairs) %s\n' "$label" \
        "$(in_ms "${probe_times[@]}")" "$(in_ms "${bare_times[@]}")" \
        "$(printf '%s\n' "${ratios[@]}" | median)"
}

printf 'runs: %d each, alternating with the bare window\n' "$runs"
compare "until the password box is painted" "$folder"
compare "until the window shows its values" "$folder" "$password"
compare "the same window, no start-up work" "$folder" --page-only
"$probe" "$folder" "$password" --sayings "$seconds"
