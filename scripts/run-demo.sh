#!/usr/bin/env bash
# The main job on the built-in demo game: makes a fresh demo game under build/ and shows what
# it holds through qlmk.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qlmk="$root/build/host-release/qlmk/qlmk"
game="$root/build/demo-game"

rm -rf "$game"
"$qlmk" demo-game "$game"
echo
echo "== Heroes of the demo game"
"$qlmk" heroes --game "$game"
echo
echo "== One hero in full"
"$qlmk" show Aldric --game "$game"
echo
echo "== Its faces, as pictures"
"$qlmk" face export Aldric large "$game/aldric-large.png" --game "$game"
"$qlmk" face export Aldric small "$game/aldric-small.png" --game "$game"
echo
echo "== The game's archives"
for archive in HEROES4.H4R UPDATES.H4R TEXT.H4R; do
  echo "-- DATA/$archive"
  "$qlmk" archive list "$game/DATA/$archive"
done
