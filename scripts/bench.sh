#!/usr/bin/env bash
# Runs the benchmarks from the host-release build and prints each figure beside its target.
#
#   scripts/bench.sh            every benchmark
#   scripts/bench.sh archive    only the named ones
#
# To add a benchmark: write bench/<name>_bench.cpp (built as build/host-release/bench/<name>_bench),
# add a function bench_<name> below that runs it, and append <name> to BENCHMARKS.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bin="$root/build/host-release/bench"
work="$(mktemp -d "${TMPDIR:-/tmp}/qm-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# Wiping a 200 MB archive of 19,999 entries against cp; saving the 998-record catalogue; both
# with and without the flushes to the disk; loading the last of 19,999 entries. The flush
# figures mean something only on a real disk (set TMPDIR to a folder on the disk to measure).
bench_archive() {
  echo "   work folder on: $(df -PT "$work" | awk 'NR == 2 { print $2 " (" $1 ")" }')"
  "$bin/archive_bench" "$work/archive"
}

# Load face under Wine: a 6000x4000 JPEG through the platform's picture decoder into a bitmap,
# then into a large face with each resize method (the editor's Load command without its dialog).
bench_face_import() {
  local exe="$root/build/win32/tests/win32/qm_import_bench.exe"
  [ -f "$exe" ] || { echo "   face_import: $exe missing (make win32)" >&2; return 1; }
  local jpeg="$work/face6000.jpg"
  convert -size 6000x4000 gradient:'#c08040-#2040a0' -attenuate 0.4 +noise Gaussian \
    -quality 90 "$jpeg"
  echo "   target: about a second for the load on native Windows (Wine's 32-bit side may be emulated)"
  "$root/scripts/wine-run.sh" "$exe" "Z:$jpeg" 3
}

# Editor start-up under Wine on a catalogue of 998 records (995 heroes): from starting the
# program to its main window shown with the panel filled (the first paint), as the end-to-end
# driver sees it.
bench_editor_startup() {
  local driver="$root/build/win32/bin/qm_e2e_driver.exe"
  [ -f "$driver" ] || { echo "   editor_startup: $driver missing (make win32)" >&2; return 1; }
  mkdir -p "$work/startup"
  cat > "$work/startup.scn" <<SCENARIO
workdir Z:$work/startup
timeout 300000
demo-game 995
set-marker 9.999
start quillmark.exe
wait-window Quillmark
elapsed "window shown"
wait-text-contains 1000 "Programmed in Native WinAPI"
wait-text 1003 1
elapsed "first paint, 998 records"
close
wait-exit 0
SCENARIO
  echo "   target: well under a second on native Windows (Wine's 32-bit side may be emulated)"
  "$root/scripts/wine-run.sh" "$driver" "$work/startup.scn" | tr -d "\r" | grep -E " ms$"
}

# qlmk export and import of a 998-record catalogue: time and peak memory of the tool itself.
bench_bulk() { "$bin/bulk_bench" "$root/build/host-release/qlmk/qlmk" "$work/bulk"; }

# MakeSFX of the 998-record demo catalogue and its apply; backup and restore of a 200 MB
# UPDATES.H4R against cp, with their peak memory.
bench_sharing() { "$bin/sharing_bench" "$work/sharing"; }

# Sizes of the two stubs: every patch a player sends carries the patcher, every backup the
# restore tool.
bench_stub_sizes() {
  local exe target
  for exe in qlmksfx:256 restore:96; do
    target="${exe#*:}"; exe="$root/build/win32/bin/${exe%%:*}.exe"
    [ -f "$exe" ] || { echo "   stub_sizes: $exe missing (make win32)" >&2; return 1; }
    printf '   %-12s %4d KB   (target under %d KB)\n' "$(basename "$exe")" \
      $(( ($(stat -c %s "$exe") + 1023) / 1024 )) "$target"
  done
}

# make dist on built programs (the builds up to date), and the packing alone; the sizes of the
# archives players download.
bench_dist() {
  local start end
  start=$(date +%s%N)
  make -s -C "$root" dist >/dev/null
  end=$(date +%s%N)
  printf '   make dist, builds up to date:  %6d ms\n' $(( (end - start) / 1000000 ))
  start=$(date +%s%N)
  python3 "$root/scripts/dist.py" --out "$work/dist" >/dev/null
  end=$(date +%s%N)
  printf '   packing alone (scripts/dist.py): %4d ms\n' $(( (end - start) / 1000000 ))
  local f
  for f in "$work/dist"/*.zip "$work/dist"/*.tar.gz; do
    printf '   %-38s %5d KB\n' "$(basename "$f")" $(( ($(stat -c %s "$f") + 1023) / 1024 ))
  done
}

BENCHMARKS=(archive face_import editor_startup bulk sharing stub_sizes dist)

selected=("$@")
[ ${#selected[@]} -eq 0 ] && selected=("${BENCHMARKS[@]}")
status=0
for name in "${selected[@]}"; do
  echo "== $name"
  if ! "bench_$name"; then
    echo "   $name: benchmark failed" >&2
    status=1
  fi
done
exit $status
