#!/usr/bin/env bash
# Installs whatever the build and the tests need and this machine lacks.
set -euo pipefail

packages=(cmake make g++ libgtest-dev mingw-w64 wine wine64 xvfb xdotool imagemagick clang libclang-rt-14-dev valgrind nsis)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
