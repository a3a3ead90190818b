#!/usr/bin/env bash
# Builds zelvane (Release) and starts it. Extra arguments go to zelvane, e.g.
# --game-folder DIR to point it at an installed game.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j"$(nproc)" --target zelvane meshport modelport sample_game sample_meshes

exec "$build/bin/zelvane" "$@"
