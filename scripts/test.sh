#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds the host tests and both Windows
# targets, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

jobs=$(nproc)
cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug
cmake --build build/host -j "$jobs"
for target in win32:i686 win64:x86_64; do
    dir=${target%%:*} arch=${target##*:}
    cmake -S . -B "build/$dir" --no-warn-unused-cli -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake"
    cmake --build "build/$dir" -j "$jobs"
done

ctest --test-dir build/host --output-on-failure -j "$jobs"

# The real executable, end to end under Wine on a private X display.
for test in tests/wine/*_test.sh; do
    echo "== $test"
    bash "$test"
done
