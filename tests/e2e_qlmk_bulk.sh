#!/usr/bin/env bash
# End to end: qlmk export and import on a fresh demo game, checked from the outside.
#
#   tests/e2e_qlmk_bulk.sh QLMK               the host tool
#   tests/e2e_qlmk_bulk.sh --wine QLMK.EXE    the Windows tool under Wine (scripts/wine-run.sh)
#
# Round trip (export, import unchanged: no save), edits of three texts, two faces and a picture
# named by keyword, every kind of bad input (the working archive must stay byte for byte as it
# was), and the round trip of a 998-record catalogue. Under Wine the bad inputs and the large
# catalogue are left out unless QM_E2E_FULL=1 (each start of the tool costs seconds there).
source "$(dirname "${BASH_SOURCE[0]}")/e2e_preamble.sh" qlmk-bulk "$@"

lines() { [ "$(grep -c . "${2:-out.txt}")" -eq "$1" ] || fail "expected $1 lines in ${2:-out.txt}: $(cat "${2:-out.txt}")"; }
same_archive() { cmp -s game/DATA/UPDATES.H4R updates.before || fail "$1: the working archive changed"; }

G=(--game game)
expect 0 demo-game game

step "export"
expect 0 export out "${G[@]}"
has "63 records (0 to 62)"
has "124 faces"
[ -s out/heroes.csv ] && [ -s out/heroes.json ] || fail "sheet files missing"
[ "$(head -c 3 out/heroes.csv)" = $'\xEF\xBB\xBF' ] || fail "heroes.csv has no byte order mark"
has $'\r' out/heroes.csv
has '15,Aldric,Sir Aldric Valemont,Sir Aldric has held the Valemont bridge' out/heroes.csv
has '"record": 62, "keyword": "Varrak"' out/heroes.json
[ -s out/faces/15-Aldric-large.png ] && [ -s out/faces/1-dead-small.png ] || fail "faces missing"
expect 1 export out "${G[@]}"
has "not an empty folder" err.txt
has 'heroes.csv -text' out/.gitattributes
has 'heroes.json -text' out/.gitattributes

if command -v git >/dev/null; then
  step "git with line-end conversion keeps the export byte for byte"
  gitc=(git -c core.autocrlf=true -c core.safecrlf=false -c user.name=qlmk -c user.email=qlmk@example.invalid)
  cp -r out repo
  (cd repo && "${gitc[@]}" init -q && "${gitc[@]}" add -A && "${gitc[@]}" commit -qm export)
  "${gitc[@]}" clone -q -c core.autocrlf=true repo clone
  for f in heroes.csv heroes.json faces/15-Aldric-large.png; do
    cmp -s "out/$f" "clone/$f" || fail "$f changed on its way through git"
  done
fi

step "import unchanged: nothing is saved"
cp game/DATA/UPDATES.H4R updates.before
expect 0 import out "${G[@]}"
has "nothing to change"
has "124 equal to the current face"
same_archive "importing an unchanged export"
hasnt ".gitattributes" err.txt

step "edit three texts, two faces and a picture named by keyword"
row15=$(grep '^15,Aldric,' out/heroes.csv | tr -d '\r')
row16=$(grep '^16,Isolde,' out/heroes.csv | tr -d '\r')
row9=$(grep '^9,Grusk,' out/heroes.csv | tr -d '\r')
nl=$'\n'
e_acute=$'\xC3\xA9'
row9_edited=${row9/Grusk wrestled/\"Grusk, once a smith, wrestled}
row9_edited=${row9_edited/winter since./winter since.\"}
{
  head -1 out/heroes.csv
  printf '%s\r\n' "${row15/Sir Aldric Valemont/\"Sir Aldric, \"\"the Bold\"\"${nl}of Vale\"}"
  printf '%s\r\n' "${row16/polishes/polish${e_acute}es}"
  printf '%s\r\n' "$row9_edited"
} >edited.csv
cp -r out edit
rm edit/heroes.json
cp edited.csv edit/heroes.csv
expect 0 face export 20 large edit/faces/9-Grusk-large.png "${G[@]}"
expect 0 face export 21 small edit/faces/10-Hilda-small.png "${G[@]}"
expect 0 face export 22 large edit/varrak.bmp "${G[@]}"
echo "notes" >edit/notes.txt
expect 0 import edit --dry-run "${G[@]}"
has '15 Aldric: name "Sir Aldric Valemont" -> "Sir Aldric, \"the Bold\"\nof Vale"'
has $'16 Isolde: biography "Dame Isolde polishes her shield until it blinds the foe at dawn." -> "Dame Isolde polish\xC3\xA9es'
has '9 Grusk: biography "Grusk wrestled a cave bear'
has '9 Grusk: large face changed'
has '10 Hilda: small face changed'
has '62 Varrak: large face changed'
has 'dry run: nothing written'
lines 8
has "notes.txt: not a picture named after a hero" err.txt
has "faces/62-Varrak-large.png: the large face of record 62 is taken from varrak.bmp" err.txt
same_archive "a dry run"
expect 0 import edit "${G[@]}"
has "Saved Successfully."
expect 0 show 15 "${G[@]}"
has 'name:       Sir Aldric, "the Bold"\nof Vale'
expect 0 show 16 --json "${G[@]}"
has '"biography": "Dame Isolde polishées'
expect 0 export after "${G[@]}"
has 'polishées' after/heroes.csv
for f in out/faces/*.png; do
  name=$(basename "$f")
  case "$name" in
    9-Grusk-large.png | 10-Hilda-small.png | 62-Varrak-large.png)
      ! cmp -s "$f" "after/faces/$name" || fail "$name did not change" ;;
    *) cmp -s "$f" "after/faces/$name" || fail "$name changed" ;;
  esac
done
cmp -s after/faces/9-Grusk-large.png edit/faces/9-Grusk-large.png || fail "a face picture did not come back exactly"
[ "$(diff <(tr -d '\r' <out/heroes.csv) <(tr -d '\r' <after/heroes.csv) | grep -c '^>')" -eq 4 ] ||
  fail "other rows changed: $(diff out/heroes.csv after/heroes.csv)"
cp game/DATA/UPDATES.H4R updates.before
expect 0 import edit "${G[@]}"
has "nothing to change"
same_archive "importing the same folder again"

if [ $full -eq 1 ]; then
  step "bad input: each is refused, the archive stays as it was"
  header=$(head -1 out/heroes.csv | tr -d '\r')
  # bad NAME CSV-ROWS EXPECTED-ON-STDERR [OPTIONS...]
  bad() {
    local name=$1 rows=$2 expected=$3
    shift 3
    rm -rf "bad-$name"
    mkdir -p "bad-$name"
    printf '%s\r\n%s\r\n' "$header" "$rows" >"bad-$name/heroes.csv"
    expect 1 import "bad-$name" "${G[@]}" "$@"
    has "$expected" err.txt
    same_archive "$name"
  }
  bad sex "${row9/,male,/,mael,}" 'heroes.csv line 2: record 9 ("Grusk"): sex: unknown sex "mael"'
  bad class "${row9/,barbarian,/,wizard,}" 'class: unknown class "wizard"'
  bad duplicate "$row9"$'\r\n'"$row9" 'appears in more than one row (heroes.csv line 2, heroes.csv line 3)'
  bad readonly "1,dead,Undead,,,,death,no,yes,yes,yes,pseudo-hero" 'record 1 ("dead"): is read-only'
  bad long "${row9/Grusk Ironhide/$(printf 'n%.0s' $(seq 65))}" 'name: 65 characters, a name holds at most 64'
  bad codepage "${row9/Grusk Ironhide/Грускъ}" "is not in code page 1252"
  bad keyword "${row9/9,Grusk,/9,Grask,}" "keywords cannot be changed"
  bad generic "${row9/,barbarian,/,generic,}" \
    'record 9 ("Grusk"): class "generic" has no portrait bundle, so saving drops the hero'"'"'s large and small faces'
  has "give --allow-face-loss" err.txt
  expect 0 import bad-generic --allow-face-loss --dry-run "${G[@]}"
  has "9 Grusk: class barbarian -> generic"
  has "9 Grusk: large face removed"
  has "9 Grusk: small face removed"
  same_archive "a dry run that drops faces"
  mkdir -p bad-column
  printf 'record,keyword,name,sex,class,allowed\r\n9,Grusk,Grusk,male,barbarian,yes\r\n' >bad-column/heroes.csv
  expect 1 import bad-column "${G[@]}"
  has 'heroes.csv: the column "biography" is missing' err.txt
  same_archive "missing column"
  mkdir -p bad-json
  printf '[{"record": 9, "keyword": "Grusk"' >bad-json/heroes.json
  expect 1 import bad-json "${G[@]}"
  has 'heroes.json: parse error' err.txt
  mkdir -p bad-both
  cp out/heroes.json bad-both/
  printf '%s\r\n%s\r\n' "$header" "${row9/Grusk Ironhide/Grusk the Smith}" >bad-both/heroes.csv
  expect 1 import bad-both "${G[@]}"
  has 'heroes.csv and heroes.json disagree (at record 9)' err.txt
  # As many refused rows in each, but not the same ones.
  mkdir -p bad-both-refused
  sed '/"record": 10,/s/"class": "barbarian"/"class": "wizard"/' after/heroes.json >bad-both-refused/heroes.json
  printf '%s\r\n%s\r\n' "$header" "${row9/,barbarian,/,wizard,}" >bad-both-refused/heroes.csv
  expect 1 import bad-both-refused "${G[@]}"
  has 'heroes.csv and heroes.json disagree (heroes.csv line 2 is refused, and heroes.json has no row like it)' err.txt
  mkdir -p utf16
  iconv -f UTF-8 -t UTF-16LE out/heroes.csv >utf16/heroes.csv
  expect 1 import utf16 "${G[@]}"
  has 'heroes.csv: the file is UTF-16LE text' err.txt
  mkdir -p bad-header
  printf '%s\r\n' "${header//,/|}" >bad-header/heroes.csv
  expect 1 import bad-header "${G[@]}"
  has 'separated by commas, semicolons or tabs' err.txt
  printf '%s\r\n%s\r\n' "$header" "${row9/Grusk Ironhide/Grusk \"the\" Smith}" >bad-header/heroes.csv
  expect 1 import bad-header "${G[@]}"
  has 'heroes.csv line 2, column 3 ("name"): a quote inside a field' err.txt
  same_archive "unreadable sheets"

  step "sheets saved with semicolons or tabs"
  for sep in ';' $'\t'; do
    rm -rf separated
    mkdir -p separated
    printf '%s\r\n%s\r\n' "${header//,/$sep}" "${row9//,/$sep}" | sed "s/Grusk Ironhide/Grusk the Smith/" \
      >separated/heroes.csv
    expect 0 import separated --dry-run "${G[@]}"
    has '9 Grusk: name "Grusk Ironhide" -> "Grusk the Smith"'
  done
  same_archive "separated sheets"
  mkdir -p bad-picture
  echo "not a picture" >bad-picture/Aldric.png
  head -c 60 out/faces/15-Aldric-small.png >bad-picture/Aldric-small.png
  expect 1 import bad-picture "${G[@]}"
  has "Aldric.png: not a picture" err.txt  # the folder separator is the system's
  has "Aldric-small.png: damaged" err.txt
  has "2 refused; nothing written" err.txt
  same_archive "bad pictures"
  expect 0 import bad-codepage --codepage 1251 --dry-run "${G[@]}"  # Cyrillic fits code page 1251
  has '9 Grusk: name "Grusk Ironhide" -> "Грускъ"'
  same_archive "code page 1251"

  step "--skip-bad applies the rest"
  expect 0 face export 23 large bad-picture/Elaine.png "${G[@]}"
  expect 0 import bad-picture --skip-bad --dry-run "${G[@]}"
  has "20 Elaine: large face changed"
  has "2 refused and skipped"
  same_archive "a dry run with --skip-bad"

  step "usage"
  expect 2 import out --dry-rn "${G[@]}"
  has "unknown option --dry-rn" err.txt
  expect 2 import out --codepage 437 "${G[@]}"
  expect 2 export
  same_archive "usage errors"
fi

if [ $full -eq 1 ] && [ $wine -eq 0 ]; then
  step "998 records: export, import unchanged"
  expect 0 demo-game big --heroes 995
  expect 0 export big-out --game big
  has "998 records (0 to 997)"
  has "1994 faces"
  cp big/DATA/UPDATES.H4R big.before
  start=$(date +%s%N)
  expect 0 import big-out --game big
  elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
  has "nothing to change"
  cmp -s big/DATA/UPDATES.H4R big.before || fail "importing the unchanged 998-record export changed the archive"
  echo "   import of 998 unchanged records and 1994 faces: ${elapsed} ms"
fi
echo "all qlmk export/import end-to-end checks passed"
