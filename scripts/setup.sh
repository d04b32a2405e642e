#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, as root, with apt.
# Does nothing when everything is already there.
set -euo pipefail

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

packages=(g++ cmake ninja-build python3 g++-mingw-w64-i686 mingw-w64-i686-dev
          wine wine32:i386 xvfb xauth x11-apps imagemagick)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    fresh_lists=no
fi
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ "${fresh_lists:-}" = no ]; then
    as_root apt-get update -qq
    [ ${#missing[@]} -gt 0 ] && DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Wine's loader is a 32-bit Linux program. Some kernels are built without
# 32-bit support; there qemu's user-mode emulation runs it through binfmt_misc.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    dpkg -s qemu-user-static >/dev/null 2>&1 ||
        DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq qemu-user-static >/dev/null
    [ -e /proc/sys/fs/binfmt_misc/register ] ||
        as_root mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
        magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
        echo ":qemu-i386:M::${magic}:${mask}:/usr/bin/qemu-i386-static:OCF" |
            as_root tee /proc/sys/fs/binfmt_misc/register >/dev/null
    fi
    /usr/lib/wine/wine --version >/dev/null
fi
