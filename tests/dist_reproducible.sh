#!/usr/bin/env bash
# The release archives from the built programs (scripts/dist.py), checked from the outside:
# two runs give the same bytes, also under another time zone and umask; SHA256SUMS checks
# out; and a program whose header carries the link time is refused.
#
#   tests/dist_reproducible.sh WIN32_BUILD_DIR LINUX_QLMK
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
[ $# -eq 2 ] || { echo "usage: $0 WIN32_BUILD_DIR LINUX_QLMK" >&2; exit 2; }
win32=$1
qlmk=$2
work="$(mktemp -d "${TMPDIR:-/tmp}/dist-check.XXXXXX")"
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
dist() { python3 "$root/scripts/dist.py" --win32 "$1" --linux-qlmk "$qlmk" --out "$2"; }

dist "$win32" "$work/one" || fail "the release could not be written"
(umask 077 && TZ=Pacific/Kiritimati dist "$win32" "$work/two" >/dev/null) || fail "the second run failed"
for f in "$work/one"/*; do
  cmp "$f" "$work/two/$(basename "$f")" || fail "$(basename "$f") differs between two runs"
done
(cd "$work/one" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the archives"

# A restore.exe whose header holds the time it was linked at: the release refuses it.
fake="$work/win32"
mkdir -p "$fake/bin" "$fake/qlmk" "$fake/resources"
for f in quillmark.exe qlmksfx.exe; do ln -s "$(realpath "$win32/bin/$f")" "$fake/bin/$f"; done
[ -d "$win32/bin/language" ] && ln -s "$(realpath "$win32/bin/language")" "$fake/bin/language"
ln -s "$(realpath "$win32/qlmk/qlmk.exe")" "$fake/qlmk/qlmk.exe"
ln -s "$(realpath "$win32/resources/program_version.h")" "$fake/resources/program_version.h"
cp "$win32/bin/restore.exe" "$fake/bin/restore.exe"
python3 - "$fake/bin/restore.exe" <<'PY'
import struct, sys, time
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
pe = struct.unpack_from("<I", data, 0x3C)[0]
struct.pack_into("<I", data, pe + 8, int(time.time()))
open(path, "wb").write(data)
PY
if dist "$fake" "$work/stamped" >/dev/null 2>"$work/stamped.err"; then
  fail "a restore.exe with its link time in the header was packed"
fi
grep -qF "restore.exe: the PE header's time stamp" "$work/stamped.err" || fail "unexpected refusal: $(cat "$work/stamped.err")"
[ ! -e "$work/stamped/SHA256SUMS" ] || fail "a refused release still wrote SHA256SUMS"
echo "the release archives are reproducible"
