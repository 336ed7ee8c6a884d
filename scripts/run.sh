#!/usr/bin/env bash
# Installs what is missing, builds the window program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTYCHOBVR_BUILD_TESTS=OFF
cmake --build build/release -j "$(nproc)"
exec build/release/window/tychobvr "$@"
