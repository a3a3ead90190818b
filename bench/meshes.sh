#!/bin/sh
# Imports a large generated .3ds (300 tori of 60 x 60 vertices: 2.09 million
# triangles with mapping coordinates and material groups) with meshport, as
# the editor does, and with the Open Asset Import Library, each in its own
# process, REPEAT times (default 5); then meshport's phases. Release build in
# build/release. The comparison library is installed here, for the benchmark
# only.
#
#   bench/meshes.sh [REPEAT]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"
repeat=${1:-5}
scene="$build/bench/large.3ds"

if ! dpkg-query -W -f='${Status}' libassimp-dev 2>/dev/null | grep -q "install ok installed"; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get install -y -qq --no-install-recommends libassimp-dev
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target make_3ds mesh_import_bench assimp_import_bench meshport

[ -f "$scene" ] || "$build/tools/make_3ds" "$scene" --objects 300 --grid 60 --materials 12 --groups 3 --seed 1
ls -l "$scene"

# meshport leaves its trace file "z.txt" in the current folder.
cd "$build/bench"
for run in $(seq "$repeat"); do
    "$build/bench/mesh_import_bench" "$scene" --plugins "$build/bin/Plugins"
    "$build/bench/assimp_import_bench" "$scene"
done
"$build/bench/mesh_import_bench" "$scene" --phases --repeat "$repeat"
