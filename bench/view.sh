#!/bin/sh
# Builds view_bench and the default textures in Release (build/release) and
# runs it on Mesa's software rasteriser, off screen. Extra arguments go to
# view_bench (e.g. --objects 5000 --steps 30).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target view_bench default_maps
"$build/bench/view_bench" --maps "$build/bin/Maps" "$@"
