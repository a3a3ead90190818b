#!/bin/sh
# Builds bake_bench in Release (build/release) and runs it on Mesa's software
# rasteriser, off screen. Extra arguments go to bake_bench (e.g.
# --triangles 100000 --repeat 5 --samples 4).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target bake_bench
"$build/bench/bake_bench" "$@"
