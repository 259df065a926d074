#!/usr/bin/env bash
# End to end: the HTML pages qlmk writes, opened in headless Chromium from disk and checked as a
# user would see them (tests/browser/check_pages.py): the export's gallery, patch show --html,
# and the before/after reports of patch diff --html and import --dry-run --html. Hostile names
# and a Cyrillic name (code page 1251) travel through every kind of page.
#
#   tests/e2e_pages.sh QLMK
source "$(dirname "${BASH_SOURCE[0]}")/e2e_preamble.sh" qlmk-pages "$@"
check=(python3 "$root/tests/browser/check_pages.py")

script='<script>alert(1)</script>'
attribute='"onerror=alert(1) x="'
picture='<img src=x onerror=alert(2)>'
markup="'><b>bold</b>&amp;"
cyrillic='Грускъ Железный'

G=(--game game)
expect 0 demo-game game
expect 0 set 15 --name "$script" "${G[@]}"
expect 0 set 16 --name "$attribute" --bio "$picture"$'\nand a second line' "${G[@]}"
expect 0 set 17 --bio "$markup" "${G[@]}"

step "the export's gallery"
expect 0 export out "${G[@]}"
has "the gallery in index.html"
[ -s out/index.html ] || fail "no index.html"
"${check[@]}" gallery out/index.html --sheet out/heroes.json --hostile "$script" --hostile "$attribute" \
  --hostile "$picture" --hostile "$markup" --filter 'q=talia&class=archer' --filter 'alignment=death&sex=female' \
  --filter 'q=%3Cscript' --filter 'q=SECOND+LINE' || fail "the gallery"
expect 0 import out "${G[@]}"
has "nothing to change"
hasnt "index.html" err.txt

step "a patch: show and diff"
cp -r game game2
printf '%s\r\n%s\r\n' "$(head -1 out/heroes.csv | tr -d '\r')" \
  "$(grep '^9,Grusk,' out/heroes.csv | tr -d '\r' | sed "s/Grusk Ironhide/$cyrillic/")" >cyrillic.csv
mkdir -p cyr && cp cyrillic.csv cyr/heroes.csv
expect 0 import cyr --codepage 1251 --game game2
expect 0 set 20 --name "$markup" --bio $'New\nlines' --game game2
expect 0 face export 30 large new-face.png "${G[@]}"
expect 0 face import 20 large new-face.png --game game2
printf 'MZ' >stub.exe
expect 0 patch build patch.exe --stub stub.exe --game game2
expect 0 patch show patch.exe --html show.html --codepage 1251
has "wrote show.html"
"${check[@]}" gallery show.html --cards 63 --hostile "$script" --hostile "$cyrillic" --hostile "$markup" \
  --filter 'q=%D0%B3%D1%80%D1%83%D1%81' || fail "patch show --html"
expect 0 patch diff patch.exe --html diff.html --codepage 1251 "${G[@]}"
has "wrote diff.html"
"${check[@]}" report diff.html --heroes 2 --faces 2 --hostile "$cyrillic" --hostile "$markup" || fail "patch diff --html"
expect 0 patch diff patch.exe --html diff.json.html --json --codepage 1251 "${G[@]}"
python3 -c 'import json,sys; json.load(open(sys.argv[1]))' out.txt || fail "--json with --html is not one JSON document"
cmp -s diff.html diff.json.html || fail "the report differs with --json"

step "import --dry-run --html"
cp game/DATA/UPDATES.H4R updates.before
cp -r out edit
rm edit/heroes.json
{
  head -1 out/heroes.csv
  grep '^10,Hilda,' out/heroes.csv | sed "s/Hilda Stormbreaker/$picture/"
} >edit/heroes.csv
expect 0 face export 40 large edit/faces/11-Torvald-large.png "${G[@]}"
expect 0 import edit --dry-run --html import.html "${G[@]}"
has "wrote import.html"
cmp -s game/DATA/UPDATES.H4R updates.before || fail "a dry run with --html changed the archive"
"${check[@]}" report import.html --heroes 2 --faces 1 --hostile "$picture" || fail "import --dry-run --html"

step "a report that cannot be written fails and says why"
expect 1 patch diff patch.exe --html no-such-folder/diff.html "${G[@]}"
has "no-such-folder/diff.html" err.txt
echo "all HTML page checks passed"
