#!/bin/sh
# Builds the benchmark in Release, makes the synthetic game once and runs
# open_and_load on it. Extra arguments go to open_and_load (e.g. --repeat 5).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/bench"
game="$build/game"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELVANE_GUI=OFF >/dev/null
cmake --build "$build" --target make_synthetic_game open_and_load

if [ ! -d "$game" ]; then
    # Written aside and renamed, so an interrupted run never leaves half a game behind.
    rm -rf "$game.partial"
    "$build/tools/make_synthetic_game" --out "$game.partial" --seed 1
    mv "$game.partial" "$game"
fi

"$build/bench/open_and_load" "$game" "$@"
