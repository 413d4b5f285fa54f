#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds the host tests and both Windows
# targets, and runs every test: the host tests under the sanitizers, once
# more under valgrind, the fuzz targets, the executables' import tables, and
# the real executables under Wine, the shipping i686 build and the x86_64
# build, each through every end-to-end test.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/steps.sh

step "installing what the build and the tests need" scripts/setup.sh

jobs=$(nproc)
step "configuring the host build" cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug
step "building the host tests" cmake --build build/host -j "$jobs"
for target in win32:i686 win64:x86_64; do
    dir=${target%%:*} arch=${target##*:}
    step "configuring the $arch build" cmake -S . -B "build/$dir" --no-warn-unused-cli -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake"
    step "building the $arch build" cmake --build "build/$dir" -j "$jobs"
done

echo "== Host tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
step "the host tests" ctest --test-dir build/host --output-on-failure -j "$jobs"

echo "== Host tests under valgrind memcheck (a shorter soak)"
step "configuring the valgrind build" cmake -S . -B build/host-valgrind -DCMAKE_BUILD_TYPE=Debug -DLUMETRA_SANITIZE=OFF \
    >/dev/null
step "building the valgrind build" cmake --build build/host-valgrind -j "$jobs"
step "the host tests under valgrind" env LUMETRA_SOAK_EVENTS=20000 valgrind --error-exitcode=1 --leak-check=full \
    --errors-for-leak-kinds=definite,indirect -q build/host-valgrind/lumetra_tests --gtest_brief=1

echo "== Fuzzing"
step "fuzzing" scripts/fuzz.sh

# Every slot a call goes through must be able to land, and every imported
# name must exist in the DLL Wine ships for that architecture. The check
# itself must reject an executable built with the faults it looks for.
echo "== Import tables"
source tests/wine/wine32.sh
for dir in win32 win64; do
    step "the import check of build/$dir/Lumetra.exe" build/host/import_check "build/$dir/Lumetra.exe" \
        "$(wine_dll_dir $dir)"
done
rejects() { # build, then the failures the check must report
    local report fault
    report=$(build/host/import_check "build/$1/faulty_imports.exe" "$(wine_dll_dir "$1")") && return 1
    for fault in "${@:2}"; do grep -qF "FAIL $fault" <<<"$report" || return 1; done
    echo "the check rejects build/$1/faulty_imports.exe: $(grep -c '^  FAIL' <<<"$report") faults found"
}
step "the import check's own test (i686)" rejects win32 "ksproxy.ax!KsSynchronousDeviceControl: delay slot" \
    "ksproxy.ax!KsNoSuchFunction: not exported by Wine's ksproxy.ax"
step "the import check's own test (x86_64)" rejects win64 "ksproxy.ax!KsNoSuchFunction: not exported by Wine's ksproxy.ax"

# The real executables, end to end under Wine on private X displays. Where
# 32-bit Wine cannot run, the i686 checks are named and not counted.
export LUMETRA_WINE32=$(wine32_missing)
[[ -n $LUMETRA_WINE32 ]] && echo "32-bit Wine cannot run here: $LUMETRA_WINE32"
rm -f build/wine-tests/win32/*.skipped.txt
wine_failures=()
for dir in win32 win64; do
    for test in facts window workarea lifecycle installer vcam standins preview; do
        echo "== tests/wine/${test}_test.sh $dir"
        bash "tests/wine/${test}_test.sh" "$dir" || wine_failures+=("${test}_test.sh $dir")
    done
done
echo "== tests/wine/commands_test.sh"
bash tests/wine/commands_test.sh || wine_failures+=("commands_test.sh")

not_run=()
for list in build/wine-tests/win32/*.skipped.txt; do
    [[ -e $list ]] || continue
    while IFS= read -r name; do not_run+=("$(basename "$list" .skipped.txt) i686: $name"); done <"$list"
done
if ((${#not_run[@]})); then
    joined=$(printf '%s; ' "${not_run[@]}")
    echo "NOT RUN (32-bit Wine cannot run here: $LUMETRA_WINE32), ${#not_run[@]} checks: ${joined%; }"
fi
if ((${#wine_failures[@]})); then
    echo "test.sh: the Wine tests failed: ${wine_failures[*]}" >&2
    exit 1
fi
if ((${#not_run[@]})); then
    echo "test.sh: all tests that ran passed; ${#not_run[@]} i686 checks did not run"
else
    echo "test.sh: all tests passed"
fi
