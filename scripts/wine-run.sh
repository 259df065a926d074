#!/usr/bin/env bash
# Runs a Windows program under Wine, headless when no display exists.
# Uses a private prefix under the build folder and silences Wine's own diagnostics.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win32
# No Mono or Gecko install prompts.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
mkdir -p "$WINEPREFIX"

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$@"
else
  exec xvfb-run -a -s "-screen 0 1024x768x24" wine "$@"
fi
