#!/bin/sh
# Builds scenefile_bench in Release (build/release) and runs it on the build
# folder's disk (build/release/scenefile-work, removed afterwards). Extra
# arguments go to scenefile_bench (e.g. --repeat 5 --triangles 500000).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target scenefile_bench
work="$build/scenefile-work"
"$build/bench/scenefile_bench" "$work" "$@"
rm -rf "$work"
