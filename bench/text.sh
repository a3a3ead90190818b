#!/bin/sh
# Builds text_bench in Release (build/release) and runs it on Mesa's software
# rasteriser, off screen. Extra arguments go to text_bench (e.g. --repeat 51).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target text_bench
"$build/bench/text_bench" "$@"
