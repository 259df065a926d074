#!/usr/bin/env bash
# The release as a player unpacks it (scripts/dist.py), checked from the outside: the Windows zip
# carries no stub programs of its own, yet `qlmk patch build` and `qlmk backup` work from the
# unpacked folder, taking the patcher and the restore tool out of quillmark.exe beside qlmk;
# what they write out is byte for byte what the win32 build's qlmksfx.exe and restore.exe give.
#
#   tests/dist_unpacked.sh WIN32_BUILD_DIR LINUX_QLMK          the Linux qlmk of the tar.gz,
#                                                              placed beside the zip's editor
#   tests/dist_unpacked.sh --wine WIN32_BUILD_DIR LINUX_QLMK   the zip's own qlmk.exe under Wine
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
wine=0
if [ "${1:-}" = "--wine" ]; then
  wine=1
  shift
fi
[ $# -eq 2 ] || { echo "usage: $0 [--wine] WIN32_BUILD_DIR LINUX_QLMK" >&2; exit 2; }
win32="$(realpath "$1")"
linux_qlmk="$(realpath "$2")"
work="$(mktemp -d "${TMPDIR:-/tmp}/dist-unpacked.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
size() { stat -c %s "$1"; }
# begins_with FILE PROGRAM: FILE is PROGRAM with a payload appended.
begins_with() {
  [ "$(size "$1")" -gt "$(size "$2")" ] || fail "$1 is not longer than $(basename "$2")"
  cmp -s -n "$(size "$2")" "$1" "$2" || fail "$1 does not begin with $(basename "$2")"
}
# same_layout FILE REFERENCE STUB: FILE begins with the built STUB and its payload follows right
# after it, the same slots at the same offsets as in REFERENCE. (The bytes inside may differ: the
# backup carries the archive's creation time, and zlib marks its gzip streams with the system
# that wrote them.)
same_layout() {
  begins_with "$1" "$win32/bin/$3"
  "$host_qlmk" payload list "$1" >got.txt
  "$host_qlmk" payload list "$2" >want.txt
  cmp -s got.txt want.txt || fail "$1: another payload than in $2: $(diff got.txt want.txt)"
  [ "$(size "$1")" = "$(size "$2")" ] || fail "$1: $(size "$1") bytes, expected $(size "$2")"
}

python3 "$root/scripts/dist.py" --win32 "$win32" --linux-qlmk "$linux_qlmk" --out dist >/dev/null ||
  fail "the release could not be written"
mkdir zip tar
(cd zip && unzip -q ../dist/*-win32.zip)
tar -xzf dist/*-linux-x86_64.tar.gz -C tar
folder="$(echo zip/quillmark-*)"
[ -f "$folder/quillmark.exe" ] && [ -f "$folder/qlmk.exe" ] || fail "the zip holds no quillmark.exe and qlmk.exe"
for stub in qlmksfx.exe restore.exe; do
  [ ! -e "$folder/$stub" ] || fail "the zip carries $stub beside the editor"
done
host_qlmk="$(echo tar/quillmark-*/qlmk)"

# A demo game and, written with the built stubs named on the command line, what the commands
# must write.
"$host_qlmk" demo-game game >/dev/null
cp -r game ref-game
"$host_qlmk" patch build ref-patch.exe --game ref-game --stub "$win32/bin/qlmksfx.exe" >/dev/null
"$host_qlmk" backup --game ref-game --stub "$win32/bin/restore.exe" >/dev/null
begins_with ref-patch.exe "$win32/bin/qlmksfx.exe"
begins_with ref-game/DATA/RESTORE.EXE "$win32/bin/restore.exe"

if [ $wine -eq 1 ]; then
  # The zip's qlmk.exe as a player starts it, from the unpacked folder.
  echo "-- qlmk.exe from the unpacked zip under Wine"
  run=("$root/scripts/wine-run.sh" "$folder/qlmk.exe")
  "${run[@]}" patch build patch.exe --game game >out.txt 2>&1 || fail "qlmk.exe patch build: $(cat out.txt)"
  "${run[@]}" backup --game game >out.txt 2>&1 || fail "qlmk.exe backup: $(cat out.txt)"
  same_layout patch.exe ref-patch.exe qlmksfx.exe
  same_layout game/DATA/RESTORE.EXE ref-game/DATA/RESTORE.EXE restore.exe
  echo "qlmk.exe from the unpacked zip writes the patcher and the backup"
  exit 0
fi

# The Linux qlmk beside the zip's editor, with no stub files anywhere near it.
echo "-- qlmk beside the unpacked quillmark.exe"
cp "$host_qlmk" "$folder/qlmk"
"$folder/qlmk" patch build patch.exe --game game >out.txt 2>&1 || fail "patch build: $(cat out.txt)"
cmp -s patch.exe ref-patch.exe || fail "the patcher taken from quillmark.exe differs from the built qlmksfx.exe"
"$folder/qlmk" backup --game game >out.txt 2>&1 || fail "backup: $(cat out.txt)"
same_layout game/DATA/RESTORE.EXE ref-game/DATA/RESTORE.EXE restore.exe

echo "-- a stub file beside qlmk comes before the editor's"
{ printf 'MZbeside'; head -c 1000 /dev/zero; } >"$folder/qlmksfx.exe"
"$folder/qlmk" patch build beside.exe --game game >out.txt 2>&1 || fail "patch build: $(cat out.txt)"
begins_with beside.exe "$folder/qlmksfx.exe"
rm "$folder/qlmksfx.exe"

echo "-- an editor without the stubs is passed over, saying why"
cp "$win32/bin/restore.exe" "$folder/quillmark.exe"
if "$folder/qlmk" patch build none.exe --game game >out.txt 2>&1; then fail "patch build found a stub"; fi
grep -qF "$(realpath "$folder")/quillmark.exe (holds no resource BIN 107)" out.txt || fail "unexpected message: $(cat out.txt)"
[ ! -e none.exe ] || fail "a failed patch build left none.exe behind"
# ... and the build folders are still looked in after it.
mkdir -p bin
{ printf 'MZbuild'; head -c 1000 /dev/zero; } >bin/qlmksfx.exe
mv "$folder" release
release/qlmk patch build build.exe --game game >out.txt 2>&1 || fail "patch build: $(cat out.txt)"
begins_with build.exe bin/qlmksfx.exe
echo "qlmk from the release finds the stubs inside quillmark.exe"
