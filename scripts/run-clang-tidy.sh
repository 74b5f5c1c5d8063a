#!/usr/bin/env bash
# clang-tidy, with the checks of .clang-tidy, over the sources of the pure
# cores (and the cores' own headers they include), compiled as the plain
# build compiles them (its compile_commands.json; warning options that only
# GCC knows are let through). Any finding fails.
#
#   scripts/run-clang-tidy.sh [BUILD_DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cores='common|wages|lunar|journal|pictures|recordstore'
[ -f "$build/compile_commands.json" ] || { echo "no $build/compile_commands.json" >&2; exit 2; }
exec run-clang-tidy -quiet -j "$(nproc)" -p "$build" -header-filter "/src/($cores)/" \
    -extra-arg=-Wno-unknown-warning-option \
    "/src/($cores)/[^/]+\.cpp$"
