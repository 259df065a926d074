#!/usr/bin/env bash
# Runs the benchmarks from the host-release build and prints each figure beside its target.
#
#   scripts/bench.sh                 every benchmark
#   scripts/bench.sh archive         only the named ones
#   scripts/bench.sh --quick ...     each once on small sizes, to check that they still run (CI
#                                    does this; the figures then mean nothing)
#   --build DIR                      the host build whose benchmarks and qlmk run (default
#                                    build/host-release); --win32 DIR the win32 build (build/win32)
#
# A benchmark that fails makes the script fail; a target that is missed does not.
#
# To add a benchmark: write bench/<name>_bench.cpp (built as build/host-release/bench/<name>_bench),
# add a function bench_<name> below that runs it, and append <name> to BENCHMARKS.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/host-release"
win32="$root/build/win32"
quick=0
selected=()
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) quick=1 ;;
    --build) build="$(cd "$2" && pwd)"; shift ;;
    --win32) win32="$(cd "$2" && pwd)"; shift ;;
    *) selected+=("$1") ;;
  esac
  shift
done
if [ $quick -eq 1 ]; then export QM_BENCH_QUICK=1; fi
bin="$build/bench"
work="$(mktemp -d "${TMPDIR:-/tmp}/qm-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# Wiping a 200 MB archive of 19,999 entries against cp; 100 saves of the 998-record catalogue,
# each after one changed face, as saves are now and as they were, with the archive's growth;
# both with and without the flushes to the disk; loading the last of 19,999 entries. The flush
# figures mean something only on a real disk (set TMPDIR to a folder on the disk to measure).
bench_archive() {
  echo "   work folder on: $(df -PT "$work" | awk 'NR == 2 { print $2 " (" $1 ")" }')"
  "$bin/archive_bench" "$work/archive"
}

# Load face under Wine: a 6000x4000 JPEG through the platform's picture decoder into a bitmap,
# then into a large face with each resize method (the editor's Load command without its dialog).
bench_face_import() {
  local exe="$win32/tests/win32/qm_import_bench.exe"
  [ -f "$exe" ] || { echo "   face_import: $exe missing (make win32)" >&2; return 1; }
  local jpeg="$work/face.jpg" size=6000x4000 repeats=3
  if [ $quick -eq 1 ]; then size=600x400; repeats=1; fi
  convert -size "$size" gradient:'#c08040-#2040a0' -attenuate 0.4 +noise Gaussian \
    -quality 90 "$jpeg"
  echo "   a $size JPEG; target: about a second for the load of 6000x4000 on native Windows"
  echo "   (Wine's 32-bit side may be emulated)"
  "$root/scripts/wine-run.sh" "$exe" "Z:$jpeg" "$repeats"
}

# Editor start-up under Wine on a catalogue of 998 records (995 heroes): from starting the
# program to its main window shown with the panel filled (the first paint), as the end-to-end
# driver sees it.
bench_editor_startup() {
  local driver="$win32/bin/qm_e2e_driver.exe"
  [ -f "$driver" ] || { echo "   editor_startup: $driver missing (make win32)" >&2; return 1; }
  local heroes=995
  if [ $quick -eq 1 ]; then heroes=20; fi
  mkdir -p "$work/startup"
  cat > "$work/startup.scn" <<SCENARIO
workdir Z:$work/startup
timeout 300000
demo-game $heroes
set-marker 9.999
start quillmark.exe
wait-window Quillmark
elapsed "window shown"
wait-text-contains MessagePanel "Programmed in Native WinAPI"
wait-text NumberBox 1
elapsed "first paint, $((heroes + 3)) records"
close
wait-exit 0
SCENARIO
  echo "   target: well under a second on native Windows (Wine's 32-bit side may be emulated)"
  "$root/scripts/wine-run.sh" "$driver" "$work/startup.scn" >"$work/startup.log" 2>&1 || {
    tr -d "\r" <"$work/startup.log" >&2
    return 1
  }
  tr -d "\r" <"$work/startup.log" | grep -E " ms$"
}

# Editor start-up under Wine with the Russian language file against without it, on the same
# 998-record catalogue under a Russian locale: from starting the program to its first paint,
# alternating, seven of each after a start that warms Wine up, with the median of each.
bench_language_startup() {
  local driver="$root/build/win32/bin/qm_e2e_driver.exe"
  [ -f "$driver" ] || { echo "   language_startup: $driver missing (make win32)" >&2; return 1; }
  mkdir -p "$work/plain" "$work/translated"
  local start='start quillmark.exe
wait-window Quillmark
wait-text-contains MessagePanel "Programmed in Native WinAPI"
wait-text NumberBox 1'
  local stop='close
wait-exit 0'
  {
    printf 'timeout 300000\nset-marker 9.999\n'
    printf 'workdir Z:%s\ndemo-game 995\n' "$work/plain"
    printf 'workdir Z:%s\ndemo-game 995\ncopy-program-files language\n' "$work/translated"
    printf '%s\n%s\n' "$start" "$stop"
    for round in 1 2 3 4 5 6 7; do
      printf 'workdir Z:%s\n%s\nelapsed "without a language file"\n%s\n' "$work/plain" "$start" "$stop"
      printf 'workdir Z:%s\n%s\nelapsed "with language/QLMKRUS.INI"\n%s\n' "$work/translated" "$start" "$stop"
    done
  } > "$work/language.scn"
  echo "   target: the language file adds no noticeable time (one read and one allocation)"
  LC_ALL=ru_RU.UTF-8 "$root/scripts/wine-run.sh" "$driver" "$work/language.scn" | tr -d "\r" |
    grep -E " ms$" | sed 's/^elapsed //' | awk -F': ' '
      { label = $1; sub(/ ms$/, "", $2); n[label]++; t[label, n[label]] = $2 + 0; all[label] = all[label] " " $2 }
      END {
        for (label in n) {
          m = n[label]
          for (i = 1; i <= m; i++) for (j = i + 1; j <= m; j++) if (t[label, j] < t[label, i]) {
            x = t[label, i]; t[label, i] = t[label, j]; t[label, j] = x }
          printf "   %-28s median %5d ms  (runs:%s ms)\n", label, t[label, int((m + 1) / 2)], all[label]
        }
      }' | sort
}

# qlmk export and import of a 998-record catalogue: time and peak memory of the tool itself.
bench_bulk() { "$bin/bulk_bench" "$build/qlmk/qlmk" "$work/bulk"; }

# qlmk picture resize against ImageMagick's convert on a 24-megapixel JPEG, a 24-megapixel PNG
# and an animated GIF (made by convert with fixed seeds), each to 82 x 82: time and peak memory
# side by side; then the decoders alone at full size.
bench_pictures() { "$bin/picture_bench" "$build/qlmk/qlmk" "$(command -v convert)" "$work/pictures"; }

# MakeSFX of the 998-record demo catalogue and its apply; backup and restore of a 200 MB
# UPDATES.H4R against cp, with their peak memory.
bench_sharing() { "$bin/sharing_bench" "$work/sharing"; }

# Sizes of the two stubs: every patch a player sends carries the patcher, every backup the
# restore tool.
bench_stub_sizes() {
  local exe target
  for exe in qlmksfx:256 restore:96; do
    target="${exe#*:}"; exe="$win32/bin/${exe%%:*}.exe"
    [ -f "$exe" ] || { echo "   stub_sizes: $exe missing (make win32)" >&2; return 1; }
    printf '   %-12s %4d KB   (target under %d KB)\n' "$(basename "$exe")" \
      $(( ($(stat -c %s "$exe") + 1023) / 1024 )) "$target"
  done
}

# The HTML pages on the 998-record catalogue: the export with and without its gallery, the
# report of a patch that changes every hero, and the gallery drawn in headless Chromium.
bench_pages() {
  "$bin/pages_bench" "$work/pages"
  local records=998
  if [ $quick -eq 1 ]; then records=33; fi
  python3 "$root/bench/gallery_draw.py" "$work/pages/gallery/index.html" "$records"
}

# make dist on built programs (the builds up to date), and the packing alone; the sizes of the
# archives players download.
bench_dist() {
  local start end
  if [ $quick -eq 0 ]; then  # the quick mode (CI, inside make test) packs only
    start=$(date +%s%N)
    make -s -C "$root" dist >/dev/null
    end=$(date +%s%N)
    printf '   make dist, builds up to date:  %6d ms\n' $(( (end - start) / 1000000 ))
  fi
  start=$(date +%s%N)
  python3 "$root/scripts/dist.py" --out "$work/dist" >/dev/null
  end=$(date +%s%N)
  printf '   packing alone (scripts/dist.py): %4d ms\n' $(( (end - start) / 1000000 ))
  local f
  for f in "$work/dist"/*.zip "$work/dist"/*.tar.gz; do
    printf '   %-38s %5d KB\n' "$(basename "$f")" $(( ($(stat -c %s "$f") + 1023) / 1024 ))
  done
}

BENCHMARKS=(archive face_import editor_startup language_startup bulk pictures sharing stub_sizes pages dist)

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
