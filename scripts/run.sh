#!/usr/bin/env bash
# Installs what is missing, builds the window program and starts it with the arguments given.
set -euo pipefail
source "$(dirname "$0")/lib/errors.sh"
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTYCHOBVR_BUILD_TESTS=OFF
cmake --build build/release -j "$(nproc)"
# The build puts its programs in bin/ at the top of its tree.
exec build/release/bin/tychobvr "$@"
