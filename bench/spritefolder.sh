#!/bin/sh
# Builds sprite_folder_bench in Release (build/release) and runs it. Extra
# arguments go to sprite_folder_bench (e.g. --repeat 9 --sheet --dither).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target sprite_folder_bench
"$build/bench/sprite_folder_bench" "$@"
