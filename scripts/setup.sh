#!/usr/bin/env bash
# Installs whatever the build and the tests need and this machine lacks.
# 32-bit Wine (wine32:i386) runs the shipping i686 build beside wine64; on a
# kernel that runs no 32-bit code, an emulated i386 CPU runs it
# (scripts/i386/emulate.sh).
set -euo pipefail

packages=(cmake make g++ libgtest-dev mingw-w64 wine wine64 wine32:i386 fonts-wine xvfb x11-utils xdotool imagemagick clang
    libclang-rt-14-dev valgrind nsis osslsigncode openssl)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

export DEBIAN_FRONTEND=noninteractive
update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Adding the i386 architecture for 32-bit Wine"
    dpkg --add-architecture i386
    update=1
fi
missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    update=1
fi
if ((update)); then
    apt-get update -qq
fi
if ((${#missing[@]})); then
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
"$(dirname "$0")/i386/emulate.sh"
