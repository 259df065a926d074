#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`, clang) and runs each for FUZZ_SECONDS seconds.
#
#   scripts/fuzz.sh                       every fuzz/*_fuzz.cpp target
#   scripts/fuzz.sh archive_fuzz ...      only the named ones
#   FUZZ_SECONDS=600 scripts/fuzz.sh      longer runs (default 180 s each)
#
# Each target keeps its growing corpus in build/fuzz/corpus/<target> and starts from the seeds
# in fuzz/seeds/<target> when that folder exists. Inputs that crash are saved as
# build/fuzz/artifacts/<target>-crash-*; reproduce one with `build/fuzz/fuzz/<target> FILE`.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
seconds="${FUZZ_SECONDS:-180}"
jobs="${JOBS:-$(nproc)}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"

bin="$root/build/fuzz/fuzz"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

mkdir -p "$root/build/fuzz/artifacts"
failed=()
for target in "${targets[@]}"; do
  corpus="$root/build/fuzz/corpus/$target"
  mkdir -p "$corpus"
  inputs=("$corpus")
  [ -d "$root/fuzz/seeds/$target" ] && inputs+=("$root/fuzz/seeds/$target")
  echo "== $target: ${seconds}s"
  if "$bin/$target" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
      -artifact_prefix="$root/build/fuzz/artifacts/$target-" "${inputs[@]}" \
      >"$root/build/fuzz/$target.log" 2>&1; then
    grep -E "^stat::(number_of_executed_units|new_units_added)|^Done" "$root/build/fuzz/$target.log" || true
    echo "   $target: no failure in ${seconds}s (corpus: $(ls "$corpus" | wc -l) inputs)"
  else
    tail -n 40 "$root/build/fuzz/$target.log"
    echo "   $target: FAILED, see build/fuzz/$target.log and build/fuzz/artifacts/" >&2
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failures in ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: ${#targets[@]} target(s), no failures"
