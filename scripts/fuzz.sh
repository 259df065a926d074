#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`, clang) and runs each for FUZZ_SECONDS seconds.
#
#   scripts/fuzz.sh                       every fuzz/*_fuzz.cpp target
#   scripts/fuzz.sh archive_fuzz ...      only the named ones
#   FUZZ_SECONDS=600 scripts/fuzz.sh      longer runs (default 180 s each)
#   FUZZ_MERGE=1 scripts/fuzz.sh ...      afterwards, minimise the run's finds into fuzz/corpus/
#
# Each target starts from its committed corpus fuzz/corpus/<target> (replayed by `make test`
# through fuzz/replay_main.cpp) and the seeds in fuzz/seeds/<target>, and keeps what it finds
# in build/fuzz/corpus/<target>. With FUZZ_MERGE=1 the committed corpus is rebuilt with
# libFuzzer's -merge=1 from itself and the run's finds: the smallest set of inputs with the same
# coverage; inputs named crash-* (each one a fault that was fixed) always stay. Inputs that crash
# are saved as build/fuzz/artifacts/<target>-crash-*; reproduce one with
# `build/fuzz/fuzz/<target> FILE`. At the end each target's line shows how much fuzzing it got:
# seconds, executions, coverage (cov/ft as libFuzzer counts them) and corpus sizes.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
seconds="${FUZZ_SECONDS:-180}"
jobs="${JOBS:-$(nproc)}"
merge="${FUZZ_MERGE:-0}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"

bin="$root/build/fuzz/fuzz"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

count_files() { if [ -d "$1" ]; then find "$1" -type f | wc -l; else echo 0; fi; }

mkdir -p "$root/build/fuzz/artifacts"
failed=()
summary=()
for target in "${targets[@]}"; do
  work="$root/build/fuzz/corpus/$target"
  kept="$root/fuzz/corpus/$target"
  log="$root/build/fuzz/$target.log"
  mkdir -p "$work"
  inputs=("$work")
  [ -d "$kept" ] && inputs+=("$kept")
  [ -d "$root/fuzz/seeds/$target" ] && inputs+=("$root/fuzz/seeds/$target")
  echo "== $target: ${seconds}s"
  started=$(date +%s)
  status=0
  "$bin/$target" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
      -artifact_prefix="$root/build/fuzz/artifacts/$target-" "${inputs[@]}" >"$log" 2>&1 || status=$?
  took=$(( $(date +%s) - started ))
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  coverage=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log"
    echo "   $target: FAILED, see build/fuzz/$target.log and build/fuzz/artifacts/" >&2
    failed+=("$target")
  elif [ "$merge" = 1 ]; then
    fresh="$root/build/fuzz/merge/$target"
    rm -rf "$fresh" && mkdir -p "$fresh" "$kept"
    find "$kept" -maxdepth 1 -type f -name 'crash-*' -exec cp {} "$fresh/" \;
    others=("$kept" "$work")
    [ -d "$root/fuzz/seeds/$target" ] && others+=("$root/fuzz/seeds/$target")
    if "$bin/$target" -merge=1 -rss_limit_mb=2048 "$fresh" "${others[@]}" >"$log.merge" 2>&1; then
      find "$kept" -maxdepth 1 -type f -delete
      find "$fresh" -maxdepth 1 -type f -exec cp {} "$kept/" \;
    else
      echo "   $target: merge FAILED, see $log.merge" >&2
      failed+=("$target")
    fi
  fi
  summary+=("$(printf '%-20s %5ss  %10s execs  %-22s corpus %s (run) %s (kept)' "$target" "$took" \
    "${execs:-?}" "${coverage:-cov: ?}" "$(count_files "$work")" "$(count_files "$kept")")")
done

echo "== fuzzing done"
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failures in ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: ${#targets[@]} target(s), no failures"
