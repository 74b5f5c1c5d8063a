#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: once as
# built for use (with the style checks: formatting, layering, clang-tidy over
# the cores), once under the address and undefined-behaviour sanitizers, and
# the fuzz targets for a bounded time. Ends with one summary line.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# run_ctest NAME BUILD_DIR [CTEST_ARGS...]: runs one ctest pass, keeping its summary.
run_ctest() {
    local name=$1 dir=$2
    shift 2
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@" 2>&1 | tee "$logs/$name.log"
    return "${PIPESTATUS[0]}"
}

echo "== build"
cmake -S . -B build -G Ninja -DQINGHE_TESTS=ON -DQINGHE_BENCH=ON >/dev/null
cmake --build build -j "$jobs"
run_ctest plain build

echo "== build under address and undefined-behaviour sanitizers"
cmake -S . -B build-sanitize -G Ninja -DQINGHE_SANITIZE=address,undefined \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_ctest sanitize build-sanitize -LE style

echo "== fuzz targets"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQINGHE_FUZZ=ON -DQINGHE_GUI=OFF \
      -DQINGHE_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "$jobs"
run_ctest fuzz build-fuzz -L fuzz

# Every pass above stopped the script on a failure; add up what ran.
total=0
for f in "$logs"/*.log; do
    n=$(sed -n 's/.*tests passed, [0-9]* tests\{0,1\} failed out of \([0-9]*\).*/\1/p' "$f" | tail -n 1)
    total=$((total + ${n:-0}))
done
echo "test.sh: $total passed, 0 failed"
