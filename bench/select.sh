#!/bin/sh
# Builds select_bench in Release (build/release) and runs the "Select Base
# Object" benchmark on two game folders of 3,000 object files:
#  - the synthetic game (make_synthetic_game, seed 1), whose object records
#    and draw groups are random bytes, so every preview comes out empty;
#  - the sample game's objects copied 231 times (hard links, 3,003 objects),
#    whose previews are real pictures of furniture, one to four tiles.
# Extra arguments go to select_bench (e.g. --rows 500).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"
game="$build/game"
samples="$build/sample-game-x231"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target make_synthetic_game sample_game select_bench

if [ ! -d "$game" ]; then
    # Written aside and renamed, so an interrupted run never leaves half a game behind.
    rm -rf "$game.partial"
    "$build/tools/make_synthetic_game" --out "$game.partial" --seed 1
    mv "$game.partial" "$game"
fi
if [ ! -d "$samples" ]; then
    rm -rf "$samples.partial"
    mkdir -p "$samples.partial/Downloads"
    i=1
    while [ "$i" -le 231 ]; do
        copy="$samples.partial/Downloads/copy$i"
        mkdir -p "$copy"
        cp -al "$build/sample-game/Downloads" "$build/sample-game/GameData/Objects" \
               "$build/sample-game/GameData/UserObjects" "$copy/"
        i=$((i + 1))
    done
    mv "$samples.partial" "$samples"
fi

echo "== synthetic game: $game"
"$build/bench/select_bench" "$game" "$@"
echo "== sample objects x 231: $samples"
"$build/bench/select_bench" "$samples" "$@"
