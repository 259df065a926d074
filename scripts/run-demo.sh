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

# The editor itself on a fresh copy of the demo game, in the language of LC_ALL: a real window
# when a display exists, otherwise a private Xvfb and a screenshot.
echo
echo "== The editor on the demo game, under Wine"
exe="$root/build/win32/bin/quillmark.exe"
if [ ! -f "$exe" ]; then
  echo "   $exe missing (make win32)" >&2
  exit 1
fi
editor_game="$root/build/demo-game-editor"
rm -rf "$editor_game"
"$qlmk" demo-game "$editor_game" >/dev/null
# The translations beside it, as in a player's game folder: LC_ALL=ru_RU.UTF-8 make run shows
# the Russian editor.
cp -r "$root/build/win32/bin/language" "$editor_game/"
cd "$editor_game"
if [ -n "${DISPLAY:-}" ]; then
  echo "   close the editor's window to end"
  exec "$root/scripts/wine-run.sh" "$exe"
fi
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}" WINEDEBUG="${WINEDEBUG:--all}" WINEARCH=win32
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
display=":$(( 90 + RANDOM % 100 ))"
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb_pid=$!
DISPLAY="$display" wine "$exe" >/dev/null 2>&1 &
wine_pid=$!
trap 'kill "$wine_pid" 2>/dev/null; kill "$xvfb_pid" 2>/dev/null' EXIT
for _ in $(seq 1 240); do
  DISPLAY="$display" xdotool search --name '^Quillmark$' >/dev/null 2>&1 && break
  sleep 1
done
sleep 5  # let the controls and faces paint
shot="$root/build/run-demo.png"
DISPLAY="$display" import -window root "$shot"
echo "   screenshot: $shot"
