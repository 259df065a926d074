#!/usr/bin/env bash
# Runs a GoogleTest program under Wine and passes only when the program both exits with 0 and
# printed GoogleTest's closing PASSED line: a Wine that silently loses a program's output must
# not count as a pass.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
"$here/wine-run.sh" "$@" 2>&1 | tee "$log"
rc=${PIPESTATUS[0]}
if [ "$rc" -ne 0 ]; then
  echo "wine-gtest: $1 exited with $rc" >&2
  exit "$rc"
fi
if ! grep -q '^\[  PASSED  \]' "$log" || grep -q '^\[  FAILED  \]' "$log"; then
  echo "wine-gtest: $1 printed no passing GoogleTest summary" >&2
  exit 1
fi
