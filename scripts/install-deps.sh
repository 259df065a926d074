#!/usr/bin/env bash
# Installs every Debian package the project needs, when any is missing. Idempotent and quiet
# when everything is there: nothing asks for root unless something is missing. Changes need
# root, or sudo when run as another user (CI runs as root without sudo).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3
  zlib1g-dev libstb-dev nlohmann-json3-dev googletest
  libjpeg62-turbo-dev libpng-dev libgif-dev
  g++-mingw-w64-i686 mingw-w64-i686-dev libz-mingw-w64-dev binutils-mingw-w64-i686
  wine wine32 xvfb xauth xdotool imagemagick
  clang libclang-rt-14-dev
  locales fonts-liberation chromium
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

need_i386=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then need_i386=1; fi

missing=()
for p in "${packages[@]}"; do
  arch_pkg="$p"
  [ "$p" = wine32 ] && arch_pkg="wine32:i386"
  if ! dpkg-query -W -f='${Status}' "$arch_pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$arch_pkg")
  fi
done

if [ "$need_i386" -eq 1 ] || [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  [ "$need_i386" -eq 1 ] && "${sudo_cmd[@]}" dpkg --add-architecture i386
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The locales the translated programs are tested and shown under: Wine takes a program's
# language and code page from LC_ALL, and only from a locale the system has generated.
# Liberation Mono is what Wine draws "Courier New" with, the face the translations name; its
# letters have Courier New's widths, so the fit check measures what Windows shows.
for locale in ru_RU pl_PL cs_CZ de_DE fr_FR; do
  if ! locale -a 2>/dev/null | grep -qix "$locale.utf-\?8"; then
    echo "Generating the locale $locale.UTF-8"
    "${sudo_cmd[@]}" localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
  fi
done

# Wine's 32-bit side must be able to run on this kernel (the script asks for root only when
# it has something to change).
bash "$(dirname "${BASH_SOURCE[0]}")/enable-i386.sh"
