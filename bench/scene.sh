#!/bin/sh
# Builds scene_bench and the default textures in Release (build/release) and
# runs it on Mesa's software rasteriser, off screen. Extra arguments go to
# scene_bench (e.g. --sizes 100,1000 --frames 9).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target scene_bench default_maps
"$build/bench/scene_bench" --maps "$build/bin/Maps" "$@"
