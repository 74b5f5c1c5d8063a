#!/usr/bin/env bash
# Every C++ source of the tree is as clang-format (.clang-format) leaves it.
# Prints each difference; fails on any. `clang-format -i FILE` mends a file.
set -euo pipefail
cd "$(dirname "$0")/.."
find src tests bench tools \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run -Werror
