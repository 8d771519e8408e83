#!/usr/bin/env bash
# Sets everything up on a Debian 12 machine, builds (media included) and starts Pause WELL.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DPAUSEWELL_BUILD_TESTS=OFF
cmake --build build -j"$(nproc)"
exec build/bin/pausewell
