#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it (needs a display).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DQINGHE_TESTS=OFF >/dev/null
cmake --build build --target qinghe
exec build/src/app/qinghe "$@"
