#!/usr/bin/env bash
# End to end: qlmk's game commands on a fresh demo game, checked from the outside.
#
#   tests/e2e_qlmk.sh QLMK               the host tool
#   tests/e2e_qlmk.sh --wine QLMK.EXE    the Windows tool under Wine (scripts/wine-run.sh)
#
# Every step runs in a private temporary folder with relative paths, so both tools see the
# same names. Under Wine every start of the tool costs many seconds, so that run leaves out
# the error and usage checks (which exercise the same portable code) unless QM_E2E_FULL=1.
source "$(dirname "${BASH_SOURCE[0]}")/e2e_preamble.sh" qlmk-e2e "$@"

size() { stat -c %s "$1"; }

G=(--game game)

step "version"
expect 0 --version
has "qlmk $(sed -n 's/^project(Quillmark VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"

step "demo game"
expect 0 demo-game game
for f in game/HEROES4.EXE game/DATA/HEROES4.H4R game/DATA/UPDATES.H4R game/DATA/TEXT.H4R; do
  [ -s "$f" ] || fail "$f missing"
done
[ "$(head -c 2 game/HEROES4.EXE)" = "MZ" ] || fail "HEROES4.EXE is no Windows program"
updates_before=$(size game/DATA/UPDATES.H4R)

step "heroes"
expect 0 heroes "${G[@]}"
[ "$(wc -l <out.txt)" -eq 63 ] || fail "expected a header line and 62 records, got $(wc -l <out.txt) lines"
has $'1\tdead\t'
has $'15\tAldric\tSir Aldric Valemont\tmale\tknight\tlife\tyes\tno\tyes\tyes'
if [ $full -eq 1 ]; then
  expect 0 heroes --json "${G[@]}"
  has '"record": 62'
  has '"keyword": "Varrak"'
fi

step "show"
expect 0 show Aldric "${G[@]}"
has "name:       Sir Aldric Valemont"
has "complete:   yes"
has "Valemont bridge"
if [ $full -eq 1 ]; then
  expect 0 show 15 --json "${G[@]}"
  has '"keyword": "Aldric"'
  has '"complete": true'
  expect 1 show nobody "${G[@]}"
  has "nobody" err.txt
  expect 1 show 0 "${G[@]}"
  expect 1 show 63 "${G[@]}"
fi

step "set"
expect 0 set aldric --name "Sir Aldric the Bold" --bio "Now a mage." --sex female --class mage --allowed no "${G[@]}"
has "Saved Successfully."
expect 0 show 15 "${G[@]}"
has "name:       Sir Aldric the Bold"
has "sex:        female"
has "class:      mage"
has "alignment:  order"
has "allowed:    no"
has "biography:  Now a mage."
has "complete:   yes"  # the faces moved to the order bundles
[ "$(size game/DATA/UPDATES.H4R)" -gt "$updates_before" ] || fail "UPDATES.H4R did not grow"
expect 0 archive list game/DATA/UPDATES.H4R
has "table.heroes.h4d"
has "layers.icons.hero.order.82.h4d"
has "table.spells.h4d"
if [ $full -eq 1 ]; then
  expect 1 set dead --name Alive "${G[@]}"
  has "read-only" err.txt
  expect 2 set 15 "${G[@]}"
  expect 2 set 15 --class wizard "${G[@]}"
  expect 2 set 15 --name "$(printf 'n%.0s' $(seq 65))" "${G[@]}"
  expect 0 show 15 "${G[@]}"
  has "name:       Sir Aldric the Bold"
fi

step "texts through the code page"
# Texts on the command line and in the output are UTF-8; the archive holds them in the game's
# code page, and a letter the page cannot hold never reaches it.
expect 0 demo-game western --heroes 5
expect 0 set 6 --name "Éric Lefèvre" --bio "« Où est-il ? » — demanda Zoë…" --game western
has "Saved Successfully."
expect 0 show 6 --game western
has "name:       Éric Lefèvre"
has "biography:  « Où est-il ? » — demanda Zoë…"
hasnt "hint" err.txt
expect 0 table dump --archive western/DATA/UPDATES.H4R
has $'6\tBrannoc\tÉric Lefèvre'
cp western/DATA/UPDATES.H4R western-before.h4r
expect 1 set 6 --name "Эрик" --game western
has "--name: the name cannot be stored: the character 'Э' (U+042D) at character 1 is not in code page 1252" err.txt
has "it fits code page 1251" err.txt
expect 1 set 6 --bio "Zoë et Łukasz" --game western
has "(U+0141) at character 8" err.txt
cmp -s western/DATA/UPDATES.H4R western-before.h4r || fail "a refused text changed the archive"
# Control characters in a name show escaped: they neither break a column nor reach the terminal.
expect 0 set 7 --name $'Eric\x1b[31m\x07Red' --game western
expect 0 heroes --game western
has $'\tEric\\x1B[31m\\x07Red\t'
hasnt $'\x1b'
expect 0 show 7 --game western
has 'name:       Eric\x1B[31m\x07Red'
expect 0 demo-game russian --heroes 5 --codepage 1251
expect 0 heroes --game russian
has $'3\tSylwen\tÑèëüâåíà Ñâåòëîå Ïåðî'
has "hint: these hero texts look like code page 1251 (Cyrillic), not 1252" err.txt
has "--codepage 1251" err.txt
expect 0 heroes --json --game russian --codepage 1251
has '"name": "Сильвена Светлое Перо"'
hasnt "hint" err.txt
# 64 Cyrillic letters are 128 bytes of UTF-8 but 64 stored bytes: just within the limit.
long=$(printf 'Ж%.0s' $(seq 64))
expect 0 set Corin --name "$long" --game russian --codepage 1251
expect 0 show Corin --game russian --codepage 1251
has "name:       $long"
if [ $full -eq 1 ]; then
  expect 2 set Corin --name "${long}Ж" --game russian --codepage 1251
  has "a name holds at most 64 characters, and this one has 65" err.txt
  QLMK_CODEPAGE=1251 expect 0 show 3 --game russian
  has "name:       Сильвена Светлое Перо"
  hasnt "hint" err.txt
  QLMK_CODEPAGE=866 expect 2 heroes --game russian
  has "QLMK_CODEPAGE is '866'" err.txt
  expect 2 heroes --game russian --codepage 65001
  has "--codepage takes 1252, 1251 or 1250" err.txt
  expect 0 demo-game polish --heroes 60 --codepage 1250
  expect 0 show 15 --game polish
  has "hint: these hero texts look like code page 1250 (Central European)" err.txt
  expect 0 show 15 --game polish --codepage 1250
  has "name:       Sir Aldryk z Valemont"
  has "biography:  Sir Aldryk utrzymał most w Valemont"
  expect 0 heroes --game western
  hasnt "hint" err.txt
  # Every command shows the texts as export's heroes.json holds them.
  expect 0 export russian-sheet --game russian --codepage 1251
  has '"name": "Сильвена Светлое Перо"' russian-sheet/heroes.json
  { printf 'MZ'; head -c 3000 /dev/zero; } >stub-russian.exe
  expect 0 patch build russian.exe --game russian --stub stub-russian.exe
  expect 0 patch show russian.exe --codepage 1251
  has $'3\tSylwen\tСильвена Светлое Перо'
  expect 0 table dump --archive russian/DATA/TEXT.H4R --json --codepage 1251
  has '"biography": "Выросшая среди берёз Серолесья'
fi

step "face export"
expect 0 face export Aldric large aldric.png "${G[@]}"
[ "$(head -c 4 aldric.png | tail -c 3)" = "PNG" ] || fail "aldric.png is no PNG"
expect 0 face export 9 large grusk.bmp "${G[@]}"
[ "$(head -c 2 grusk.bmp)" = "BM" ] || fail "grusk.bmp is no BMP"
expect 0 face export 9 small grusk_small.png "${G[@]}"
expect 0 face export Aldric small aldric_small.png "${G[@]}"
if [ $full -eq 1 ]; then
  expect 1 face export Aldric large aldric.gif "${G[@]}"
fi

step "face import"
expect 0 face import Aldric large grusk.bmp --method bcubic --aspect --ring "${G[@]}"
has "Loaded large face image."
has "Saved Successfully."
expect 0 face export Aldric large aldric2.png "${G[@]}"
expect 0 face export Aldric small aldric2_small.png "${G[@]}"
! cmp -s aldric.png aldric2.png || fail "the large face did not change"
! cmp -s aldric_small.png aldric2_small.png || fail "the small face was not made from the new large face"
expect 0 face import 15 small grusk_small.png --no-small-copy --method s-bresenham --x-range 10:90 "${G[@]}"
has "Loaded small face image."
expect 0 face export Aldric large aldric3.png "${G[@]}"
cmp -s aldric2.png aldric3.png || fail "a small import changed the large face"
if [ $full -eq 1 ]; then
  expect 0 face import dead large grusk.bmp "${G[@]}"
  has "Loaded large face image."
  echo "not a picture" >junk.jpg
  expect 1 face import Aldric large junk.jpg "${G[@]}"
  has "Failed to load larga face image." err.txt
  expect 2 face import Aldric large grusk.bmp --method magic "${G[@]}"
  expect 2 face import Aldric large grusk.bmp --x-range 80:20 "${G[@]}"
  expect 0 face export Aldric large aldric4.png "${G[@]}"
  cmp -s aldric3.png aldric4.png || fail "a failed import changed the face"
fi
cp aldric3.png aldric4.png

step "a class without a portrait bundle: refused, then allowed; the faces are gone"
cp game/DATA/UPDATES.H4R updates.before
expect 1 set Corin --class generic "${G[@]}"
has 'record 4 ("Corin"): class generic has no portrait bundle, so saving drops the hero'"'"'s large and small faces; give --allow-face-loss' err.txt
cmp -s game/DATA/UPDATES.H4R updates.before || fail "a refused class change changed the archive"
expect 0 set Corin --class generic --allow-face-loss "${G[@]}"
has "no portrait bundle" err.txt
expect 0 heroes "${G[@]}"
has $'4\tCorin\tCorin Ashbow\tmale\tgeneric\t\tyes\tno\tno\tno'  # no bundle kept its faces
expect 1 face import Corin large grusk.bmp "${G[@]}"
has "Failed to load larga face image." err.txt
if [ $full -eq 1 ]; then
  expect 1 face import Corin small grusk.bmp "${G[@]}"
  has "Failed to load small face image." err.txt
fi

step "save and wipe"
expect 0 save "${G[@]}"
has "Saved Successfully."
saved=$(size game/DATA/UPDATES.H4R)
expect 0 save "${G[@]}"
[ "$(size game/DATA/UPDATES.H4R)" -eq "$saved" ] || fail "a second save grew UPDATES.H4R"
expect 0 wipe "${G[@]}"
has "Wiped H4R file successfully."
[ "$(size game/DATA/UPDATES.H4R)" -lt "$saved" ] || fail "wipe did not shrink UPDATES.H4R"
expect 0 face export Aldric large aldric5.png "${G[@]}"
cmp -s aldric4.png aldric5.png || fail "the face changed across save and wipe"

step "--archive and the fallback to TEXT.H4R and HEROES4.H4R"
cp game/DATA/UPDATES.H4R patch.h4r
rm game/DATA/UPDATES.H4R
expect 0 show 15 "${G[@]}"
has "name:       Sir Aldric Valemont"
expect 0 show 15 "${G[@]}" --archive patch.h4r
has "name:       Sir Aldric the Bold"
expect 0 face export Aldric large aldric6.png "${G[@]}" --archive patch.h4r
cmp -s aldric4.png aldric6.png || fail "the face in patch.h4r differs"
if [ $full -eq 1 ]; then
  expect 0 heroes --game nowhere --archive patch.h4r
  expect 1 heroes --game nowhere
  has "I coudn't find HOMM4 Datafile(*.H4R)." err.txt
fi

if [ $wine -eq 0 ]; then
  step "names in other cases on a case-sensitive file system"
  mv game/DATA game/data
  mv game/data/HEROES4.H4R game/data/heroes4.h4r
  mv game/data/TEXT.H4R game/data/Text.h4r
  expect 0 show 15 "${G[@]}"
  has "name:       Sir Aldric Valemont"
  cp patch.h4r game/data/updates.h4r
  expect 0 set 16 --name "Dame Isolde" "${G[@]}"
  [ ! -e game/data/UPDATES.H4R ] || fail "a second update archive was made"
  expect 0 show 16 "${G[@]}"
  has "name:       Dame Isolde"
fi

step "patch build, show, diff and apply"
# qlmk never runs the stub programs it writes out, so any bytes serve as a stub here.
{ printf 'MZ'; head -c 3000 /dev/zero; } >stub.exe
expect 0 demo-game src --heroes 20
expect 0 demo-game dst --heroes 20
expect 0 set Aldric --name "Aldric the Patched" --game src
expect 0 patch build QLMKSFX.EXE --game src --stub stub.exe
has "patcher with 13 entries"
expect 0 patch show QLMKSFX.EXE
has $'0\ttable.heroes.h4d'
has $'12\tlayers.icons.hero.might.82.h4d'
has "20 heroes"
has $'15\tAldric\tAldric the Patched'
expect 0 patch diff QLMKSFX.EXE --game dst
has '15 Aldric: name "Sir Aldric Valemont" -> "Aldric the Patched"'
has "1 changes in 1 heroes"
expect 0 patch apply QLMKSFX.EXE --game dst --text
has "put table.heroes.h4d"
hasnt "layers."
expect 0 show 15 --game dst
has "name:       Aldric the Patched"
expect 0 patch apply QLMKSFX.EXE --game dst
has "Successfully updated."
applied=$(size dst/DATA/UPDATES.H4R)
expect 0 patch apply QLMKSFX.EXE --game dst --portraits
# Applying again writes no entry again, only a new directory (some hundred bytes here).
[ "$(size dst/DATA/UPDATES.H4R)" -le $((applied + 2000)) ] || fail "applying again wrote the entries again"
if [ $full -eq 1 ]; then
  expect 0 patch diff QLMKSFX.EXE --game dst
  has "0 changes in 0 heroes"
  expect 0 patch show QLMKSFX.EXE --json
  has '"slot": 12'
  expect 1 patch show stub.exe
  expect 2 patch apply QLMKSFX.EXE --game dst --bogus
  expect 1 patch build QLMKSFX.EXE --game src --stub QLMKSFX.EXE
  has "already carries a payload" err.txt
  expect 0 demo-game old --heroes 3 --version 1.2.0.0
  expect 1 patch apply QLMKSFX.EXE --game old
  has "--yes" err.txt
  expect 0 patch apply QLMKSFX.EXE --game old --yes
fi
# Without --stub qlmk takes the stub beside itself (a release folder), else from the win32 build
# beside the build it lives in, whichever build that is: a copy of the tool in each layout, each
# with a stub of its own, must take that stub. (Between the two it reads the stub out of a
# quillmark.exe beside it: tests/dist_unpacked.sh checks that on the release.)
{ printf 'MZrelease'; head -c 2000 /dev/zero; } >release-stub.exe
{ printf 'MZwin32-build'; head -c 2000 /dev/zero; } >build-stub.exe
layouts=("release/$(basename "$tool")|release/qlmksfx.exe|release-stub.exe")
if [ $wine -eq 0 ]; then
  layouts+=("build/host-release/qlmk/qlmk|build/win32/bin/qlmksfx.exe|build-stub.exe")
else
  layouts+=("build/win32/qlmk/qlmk.exe|build/win32/bin/qlmksfx.exe|build-stub.exe")
fi
for layout in "${layouts[@]}"; do
  IFS='|' read -r copy stub_place stub_bytes <<<"$layout"
  mkdir -p "$(dirname "$copy")" "$(dirname "$stub_place")"
  cp "$tool" "$copy"
  cp "$stub_bytes" "$stub_place"
  if [ $wine -eq 1 ]; then copy_run=("$root/scripts/wine-run.sh" "$copy"); else copy_run=("./$copy"); fi
  "${copy_run[@]}" patch build layout.exe --game src >out.raw 2>err.raw ||
    fail "$copy: patch build without --stub failed: $(cat err.raw)"
  cmp -s -n "$(size "$stub_bytes")" "$stub_bytes" layout.exe || fail "$copy did not take $stub_place"
  rm -rf release build layout.exe
done

step "archive create and payload add"
expect 0 archive create scratch.h4r
expect 1 archive create scratch.h4r
expect 0 archive put scratch.h4r note.h4d stub.exe
expect 0 archive create scratch.h4r --force
expect 0 archive list --json scratch.h4r
has '"count": 0'
cp stub.exe carrier.exe
printf 'first blob' >blob.txt
expect 0 payload add carrier.exe notes.txt blob.txt
expect 0 payload add carrier.exe packed.h4d blob.txt --compress
expect 0 payload list carrier.exe
has $'0\tnotes.txt'
has $'1\tpacked.h4d'
expect 0 payload get carrier.exe packed.h4d -o unpacked.txt
cmp -s blob.txt unpacked.txt || fail "payload get did not return what payload add --compress stored"
[ -z "$(find . -maxdepth 1 -name 'QLM*' ! -name QLMKSFX.EXE)" ] ||
  fail "payload add or archive create left a temporary file"

step "backup and restore"
cp dst/DATA/UPDATES.H4R backed-up.h4r
expect 0 backup --game dst --stub stub.exe
expect 0 payload list dst/DATA/RESTORE.EXE
has $'0\tDATA\\UPDATES.H4R'
has $'1\tDATA\\UPDATES.FTM'
expect 0 set Aldric --name "Changed Later" --game dst
expect 0 restore dst/DATA/RESTORE.EXE --game dst
has "Restored UPDATES.H4R file successfully."
cmp -s backed-up.h4r dst/DATA/UPDATES.H4R || fail "the restored UPDATES.H4R differs from the backup"
if [ $full -eq 1 ]; then
  expect 1 restore stub.exe --game dst
  has "Failed to restore UPDATES.H4R file." err.txt
  expect 0 demo-game ancient --heroes 3 --version 1.0.0.0
  expect 1 restore dst/DATA/RESTORE.EXE --game ancient
  has "you can't restore" err.txt
  rm ancient/DATA/UPDATES.H4R
  expect 1 restore dst/DATA/RESTORE.EXE --game ancient
  has "Perhaps you don't need to restore UPDATES.H4R." err.txt
  expect 2 backup --game dst --bogus
fi

if [ $full -eq 1 ]; then
  step "usage"
  expect 2 heroes extra "${G[@]}"
  expect 0 face --help
  has "--no-small-copy"

  step "unknown options"
  expect 2 heroes --jsno "${G[@]}"
  has "unknown option --jsno" err.txt
  expect 0 heroes --json "${G[@]}"
  expect 2 archive list --force game/DATA/UPDATES.H4R
  has "unknown option --force for archive list" err.txt
  expect 0 archive list --json patch.h4r
  expect 2 archive frobnicate game/DATA/UPDATES.H4R
  has "unknown archive command 'frobnicate'" err.txt
  expect 2 payload list --jsn game/HEROES4.EXE
  expect 2 set 5 --nmae X "${G[@]}"
  expect 2 demo-game other --heros 3
  [ ! -e other ] || fail "demo-game wrote a game despite the usage error"
fi
echo "all qlmk end-to-end checks passed"
