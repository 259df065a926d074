#!/usr/bin/env bash
# Makes 32-bit x86 Linux programs (Wine's 32-bit loader) runnable.
#
# Some kernels are built without 32-bit x86 support, so wine32 fails with "Exec format error".
# There, QEMU's user-mode emulator runs the 32-bit side of Wine through binfmt_misc. QEMU 7.2
# (Debian 12) cannot map Wine's shared user data page; the backported QEMU 10 can, so that one
# is installed. Idempotent; the check runs as any user, and root (or sudo, when run as another
# user) is needed only when something has to change.
set -euo pipefail

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

probe=/lib/ld-linux.so.2
[ -x "$probe" ] || { echo "enable-i386: $probe missing (install libc6:i386 first)" >&2; exit 1; }
if "$probe" --version >/dev/null 2>&1; then
  exit 0   # the kernel (or an earlier run of this script) already runs i386 programs
fi

echo "This kernel cannot run 32-bit x86 programs; enabling QEMU user-mode emulation for them."
binfmt=/proc/sys/fs/binfmt_misc
if [ ! -e "$binfmt/register" ]; then
  "${sudo_cmd[@]}" mount -t binfmt_misc binfmt_misc "$binfmt"
fi

qemu=/usr/bin/qemu-i386-static
need_qemu=1
if [ -x "$qemu" ]; then
  major=$("$qemu" --version | sed -n 's/.*version \([0-9]*\)\..*/\1/p' | head -n 1)
  [ "${major:-0}" -ge 8 ] && need_qemu=0
fi
if [ "$need_qemu" -eq 1 ]; then
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  list=/etc/apt/sources.list.d/quillmark-backports.sources
  if ! grep -rqs "${codename}-backports" /etc/apt/sources.list /etc/apt/sources.list.d/; then
    "${sudo_cmd[@]}" tee "$list" >/dev/null <<SRC
Types: deb
URIs: http://deb.debian.org/debian
Suites: ${codename}-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq -t "${codename}-backports" qemu-user-static >/dev/null
fi

# An older registration may pin another interpreter ('F' flag keeps it open): replace it.
if [ -e "$binfmt/qemu-i386" ]; then echo -1 | "${sudo_cmd[@]}" tee "$binfmt/qemu-i386" >/dev/null; fi
printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':OCF' \
  | "${sudo_cmd[@]}" tee "$binfmt/register" >/dev/null

"$probe" --version >/dev/null 2>&1 || { echo "enable-i386: 32-bit programs still do not run" >&2; exit 1; }
