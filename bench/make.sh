#!/bin/sh
# Builds zelvane-cli and make_bench in Release (build/release) and times
# `zelvane-cli make` of a 10,000-triangle model into a one-tile object, on
# Mesa's software rasteriser, off screen. Extra arguments go to make_bench
# (e.g. --triangles 10000 --repeat 7 --samples 4).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target make_bench zelvane-cli modelport
"$build/bench/make_bench" --cli "$build/bin/zelvane-cli" "$@"
