#!/usr/bin/env bash
# clang-tidy, with the checks of .clang-tidy, over the sources of the pure
# cores, the platform's seam and the command-line tool (and their own
# headers they include), compiled as the plain
# build compiles them (its compile_commands.json; warning options that only
# GCC knows are let through). Any finding fails.
#
#   scripts/run-clang-tidy.sh [BUILD_DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cores='platform|common|wages|lunar|recordstore|journal|payrecord|pictures|datafolder|cli'
[ -f "$build/compile_commands.json" ] || { echo "no $build/compile_commands.json" >&2; exit 2; }
exec run-clang-tidy -quiet -j "$(nproc)" -p "$build" -header-filter "/src/($cores)/" \
    -extra-arg=-Wno-unknown-warning-option \
    "/src/($cores)/[^/]+\.cpp$"
