#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, as root, with apt.
# Does nothing when everything is already there.
set -euo pipefail

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# wine64 and the 64-bit cross compiler serve kernels without 32-bit support,
# where 32-bit Wine cannot start: the tests then run a 64-bit build.
packages=(g++ cmake ninja-build python3 g++-mingw-w64-i686 mingw-w64-i686-dev
          g++-mingw-w64-x86-64 mingw-w64-x86-64-dev wine wine32:i386 wine64
          xvfb xauth x11-apps imagemagick python3-pil fonts-wqy-microhei locales)

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

# The Wine tests run as a Chinese system; without the locale Wine cannot map
# Chinese file names to the Linux file system.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    as_root localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
