#!/bin/sh
# Imports the same geometry as .3ds (meshport), .glb and .obj (modelport),
# as the editor does, and the .glb and .obj with the Open Asset Import
# Library, each in its own process, REPEAT times (default 5); then
# modelport's phases. The 2-million-triangle scene is meshes.sh's large.3ds
# (300 tori); the OBJ parse rate is also measured on a 1-million-triangle
# scene (144 tori). Release build in build/release; the comparison library is
# installed here, for the benchmark only.
#
#   bench/models.sh [REPEAT]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"
repeat=${1:-5}
work="$build/bench"

if ! dpkg-query -W -f='${Status}' libassimp-dev 2>/dev/null | grep -q "install ok installed"; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get install -y -qq --no-install-recommends libassimp-dev
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target make_3ds make_bench_models mesh_import_bench assimp_import_bench meshport modelport

mkdir -p "$work"
[ -f "$work/large.3ds" ] || "$build/tools/make_3ds" "$work/large.3ds" --objects 300 --grid 60 --materials 12 --groups 3 --seed 1
[ -f "$work/large.glb" ] || "$build/bench/make_bench_models" "$work/large.3ds" "$work/large.glb" "$work/large.obj"
[ -f "$work/million.3ds" ] || "$build/tools/make_3ds" "$work/million.3ds" --objects 144 --grid 60 --materials 12 --groups 3 --seed 2
[ -f "$work/million.obj" ] || "$build/bench/make_bench_models" "$work/million.3ds" "$work/million.glb" "$work/million.obj"
ls -l "$work"/large.* "$work"/million.*

cd "$work"
for run in $(seq "$repeat"); do
    "$build/bench/mesh_import_bench" large.3ds --plugins "$build/bin/Plugins" --plugin meshport
    "$build/bench/mesh_import_bench" large.glb --plugins "$build/bin/Plugins" --plugin modelport
    "$build/bench/assimp_import_bench" large.glb
    "$build/bench/mesh_import_bench" large.obj --plugins "$build/bin/Plugins" --plugin modelport
    "$build/bench/assimp_import_bench" large.obj
    "$build/bench/mesh_import_bench" million.obj --plugins "$build/bin/Plugins" --plugin modelport
done
"$build/bench/mesh_import_bench" large.glb --modelport-phases --repeat "$repeat"
"$build/bench/mesh_import_bench" large.obj --modelport-phases --repeat "$repeat"
"$build/bench/mesh_import_bench" million.obj --modelport-phases --repeat "$repeat"
