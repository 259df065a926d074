#!/usr/bin/env bash
# PNG screenshots of the editor under Wine, for looking at the result: the backup question, the
# main window on a hero with both faces, the option panel, the about panel and the picture open
# dialog; the patcher window with its buttons normal, one pressed, and disabled (no game). Then
# the backup question, the main window, the option and about panels and the patcher in Russian,
# Polish, Czech and German, each under its locale with the build's language files
# (backup_rus.png, main_rus.png, ...). They land in build/screenshots/. Runs the end-to-end driver of the win32
# build.
#
#   scripts/screenshots.sh [WIN32_BUILD_DIR]     (default build/win32)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build/win32}"
out="$root/build/screenshots"
driver="$build/bin/qm_e2e_driver.exe"
[ -f "$driver" ] || { echo "screenshots: $driver missing (make win32)" >&2; exit 1; }
command -v convert >/dev/null || { echo "screenshots: ImageMagick's convert is missing" >&2; exit 1; }
mkdir -p "$out"
work="$(mktemp -d "${TMPDIR:-/tmp}/qm-shots.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/nogame"
cp "$build/bin/qlmksfx.exe" "$work/nogame/QLMKSFX.EXE"

# The editor's own windows, shot in every language: the backup question, the main window on hero
# 5, the option panel and the about panel, each file named with the suffix $1.
editor_windows() {
  cat <<SCENARIO
set-marker none
start quillmark.exe
wait-window "#32770" "Quillmark"
sleep 1000
screenshot backup$1.bmp
click IDNO
wait-window Quillmark
name main
set-text NumberBox 5
wait-text NumberBox 5
sleep 2000
screenshot main$1.bmp
command Option
wait-window QLMKSUB
sleep 2000
screenshot option$1.bmp
close
wait-gone
use main
command About
wait-window QLMKSUB
sleep 2000
screenshot about$1.bmp
close
wait-gone
use main
SCENARIO
}

{
  cat <<SCENARIO
workdir Z:$work
timeout 240000
demo-game 12
write-picture card.jpg jpeg 300 200
SCENARIO
  editor_windows ""
  cat <<SCENARIO
command LoadLarge
wait-window "#32770" "Select Image file"
set-path cmb13 card.jpg
key VK_TAB
sleep 3000
screenshot open.bmp
click IDCANCEL
use main
close
wait-exit 0
start qlmksfx.exe
wait-window "Quillmark SFX"
sleep 1000
screenshot patcher.bmp
press UpdatePortraits
sleep 500
screenshot patcher_pressed.bmp
close
wait-exit 1
start-here nogame/QLMKSFX.EXE
wait-window "Quillmark SFX"
name sfx
wait-window "#32770"
click IDCANCEL
wait-gone
use sfx
sleep 1000
screenshot patcher_disabled.bmp
close
wait-exit 1
SCENARIO
} > "$work/screenshots.scn"

"$root/scripts/wine-run.sh" "$driver" "$work/screenshots.scn"
for name in backup main option about open patcher patcher_pressed patcher_disabled; do
  convert "$work/$name.bmp" "$out/$name.png"
  echo "$out/$name.png"
done

# The translations, each in a game folder of its own with the language files beside the programs.
for language in rus:ru_RU plk:pl_PL csy:cs_CZ deu:de_DE; do
  suffix="${language%%:*}"
  locale="${language#*:}.UTF-8"
  game="$work/game_$suffix"
  mkdir -p "$game"
  cp -r "$build/bin/language" "$game/"
  {
    cat <<SCENARIO
workdir Z:$game
timeout 240000
demo-game 12
SCENARIO
    editor_windows "_$suffix"
    cat <<SCENARIO
close
wait-exit 0
start qlmksfx.exe
wait-window "Quillmark SFX"
sleep 1000
screenshot patcher_$suffix.bmp
close
wait-exit 1
SCENARIO
  } > "$work/screenshots_$suffix.scn"
  LC_ALL="$locale" "$root/scripts/wine-run.sh" "$driver" "$work/screenshots_$suffix.scn"
  for name in backup main option about patcher; do
    convert "$game/${name}_$suffix.bmp" "$out/${name}_$suffix.png"
    echo "$out/${name}_$suffix.png"
  done
done
