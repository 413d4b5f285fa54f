#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds the host tests and both Windows
# targets, and runs every test: the host tests under the sanitizers, once
# more under valgrind, the fuzz targets, and the real executable under Wine.
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

echo "== Host tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
ctest --test-dir build/host --output-on-failure -j "$jobs"

echo "== Host tests under valgrind memcheck (a shorter soak)"
cmake -S . -B build/host-valgrind -DCMAKE_BUILD_TYPE=Debug -DLUMETRA_SANITIZE=OFF >/dev/null
cmake --build build/host-valgrind -j "$jobs"
LUMETRA_SOAK_EVENTS=20000 valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
    -q build/host-valgrind/lumetra_tests --gtest_brief=1

echo "== Fuzzing"
scripts/fuzz.sh

# The real executable, end to end under Wine on a private X display.
for test in tests/wine/*_test.sh; do
    echo "== $test"
    bash "$test"
done
