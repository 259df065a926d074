#!/usr/bin/env bash
# The main job on the built-in demo game.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qlmk="$root/build/host-release/qlmk/qlmk"
"$qlmk" --help
