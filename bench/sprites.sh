#!/bin/sh
# Builds sprite_bench in Release and runs it. Extra arguments go to
# sprite_bench (e.g. --corpus-mb 128 --repeat 9).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/bench"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELVANE_GUI=OFF >/dev/null
cmake --build "$build" -j 2 --target sprite_bench
"$build/bench/sprite_bench" "$@"
