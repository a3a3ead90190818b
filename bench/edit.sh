#!/bin/sh
# Builds the editing benchmarks in Release and runs them on the build folder's
# disk and, when the machine has it, on /dev/shm (memory). Extra arguments go
# to edit_bench (e.g. --edits 2000).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/bench"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELVANE_GUI=OFF >/dev/null
cmake --build "$build" -j 2 --target edit_bench compact_bench

folders="$build/edit-work"
if [ -d /dev/shm ]; then
    shm=$(mktemp -d /dev/shm/zelvane-bench-XXXXXX)
    trap 'rm -rf "$shm"' EXIT
    folders="$folders $shm"
fi
for folder in $folders; do
    echo "== edit_bench on $folder"
    "$build/bench/edit_bench" "$folder" "$@"
    echo
    echo "== edit_bench --sync-at-close on $folder"
    "$build/bench/edit_bench" "$folder" --sync-at-close "$@"
    echo
    echo "== compact_bench on $folder"
    "$build/bench/compact_bench" "$folder"
    echo
done
rm -rf "$build/edit-work"
