# The start the qlmk end-to-end scripts share; they source it, it does not run on its own.
#
#   source "$(dirname "${BASH_SOURCE[0]}")/e2e_preamble.sh" WORK_NAME "$@"
#
# Takes the script's own arguments ([--wine] QLMK) after the name of its work folder. Sets
# `root` (the source tree), `wine` (1 for --wine), `run` (the command that starts the tool:
# the host tool, or the Windows tool through scripts/wine-run.sh) and `full` (0 under Wine
# unless QM_E2E_FULL=1: each start of the tool costs seconds there). Makes a private temporary
# folder WORK_NAME.XXXXXX, enters it and removes it on exit, so both tools see the same
# relative names.
#
#   fail TEXT               stops the script with TEXT
#   q ARGS...               runs the tool: out.txt and err.txt get its output (line ends as on
#                           POSIX), rc its exit code
#   expect CODE ARGS...     runs the tool and checks its exit code
#   has TEXT [FILE]         FILE (out.txt) holds TEXT; hasnt TEXT [FILE]: it does not
#   step TEXT               names the next step in the log
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

work_name=$1
shift
wine=0
if [ "${1:-}" = "--wine" ]; then
  wine=1
  shift
fi
[ $# -eq 1 ] || { echo "usage: $0 [--wine] QLMK" >&2; exit 2; }
tool="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
if [ $wine -eq 1 ]; then run=("$root/scripts/wine-run.sh" "$tool"); else run=("$tool"); fi
full=1
if [ $wine -eq 1 ] && [ "${QM_E2E_FULL:-0}" != 1 ]; then full=0; fi

# The tool's texts are UTF-8 on the command line and in its output, whatever the caller's
# locale (Wine takes the command line's encoding from it); the code page is each test's own.
export LC_ALL=C.UTF-8
unset QLMK_CODEPAGE

work="$(mktemp -d "${TMPDIR:-/tmp}/$work_name.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
q() {
  set +e
  "${run[@]}" "$@" >out.raw 2>err.raw
  rc=$?
  set -e
  tr -d '\r' <out.raw >out.txt
  tr -d '\r' <err.raw >err.txt
}
expect() {
  local want=$1
  shift
  q "$@"
  [ "$rc" = "$want" ] || fail "qlmk $* exited $rc, expected $want; stderr: $(cat err.txt); stdout: $(head -c 600 out.txt)"
}
has() { grep -qF -- "$1" "${2:-out.txt}" || fail "no '$1' in ${2:-out.txt}: $(head -c 800 "${2:-out.txt}")"; }
hasnt() { ! grep -qF -- "$1" "${2:-out.txt}" || fail "unexpected '$1' in ${2:-out.txt}"; }
step() { echo "-- $*"; }
