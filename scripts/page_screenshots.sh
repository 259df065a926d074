#!/usr/bin/env bash
# PNG screenshots of the HTML pages qlmk writes, in headless Chromium at a desktop width, at
# 200 % zoom and at a phone width: the export's gallery (its top, a filtered view from the address, a face in its larger
# view) and the before/after report of a patch. They land in build/screenshots/.
#
#   scripts/page_screenshots.sh [QLMK]     (default build/host-release/qlmk/qlmk)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qlmk="${1:-$root/build/host-release/qlmk/qlmk}"
out="$root/build/screenshots"
[ -x "$qlmk" ] || { echo "page screenshots: $qlmk missing (make host-release)" >&2; exit 1; }
work="$(mktemp -d "${TMPDIR:-/tmp}/qm-page-shots.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"

"$qlmk" demo-game game >/dev/null
"$qlmk" export gallery --game game >/dev/null
# A patch that renames two heroes, rewrites a biography and gives one a new face.
cp -r game patched
"$qlmk" set 15 --name "Sir Aldric the Bold" --bio $'Sir Aldric held the bridge.\nThen he built a second one.' \
  --game patched >/dev/null
"$qlmk" set 20 --name "Dame Elaine <Stormcrest> & \"Co\"" --allowed no --game patched >/dev/null
"$qlmk" face export 44 large face.png --game game >/dev/null
"$qlmk" face import 8 large face.png --game patched >/dev/null
printf 'MZ' >stub.exe
"$qlmk" patch build patch.exe --stub stub.exe --game patched >/dev/null
"$qlmk" patch diff patch.exe --html diff.html --game game >/dev/null

python3 "$root/scripts/page_screenshots.py" "$out" \
  "gallery-top=file://$work/gallery/index.html" \
  "gallery-filtered=file://$work/gallery/index.html#q=dame&alignment=life" \
  "gallery-larger-face=file://$work/gallery/index.html#class=archer@#r5 .face" \
  "patch-diff=file://$work/diff.html"
