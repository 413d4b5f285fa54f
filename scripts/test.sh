#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds the host tests and both Windows
# targets, and runs every test: the host tests under the sanitizers, once
# more under valgrind, the fuzz targets, the executables' import tables and
# hardening, a second build that must give the same bytes, and the real
# executables under Wine, the shipping i686 build and the x86_64 build, each
# through every end-to-end test, then a signed build.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/steps.sh

step "installing what the build and the tests need" scripts/setup.sh

# Every script the README tells a reader to run runs as written.
readme_scripts_run() {
    local script missing=()
    for script in $(grep -oE '(^|[ `(])scripts/[a-z_]+\.sh' README.md | grep -oE 'scripts/[a-z_]+\.sh' | sort -u); do
        [[ -x $script ]] || missing+=("$script")
    done
    ((${#missing[@]} == 0)) || { echo "not executable: ${missing[*]}" >&2; return 1; }
}
step "checking that every script the README names is executable" readme_scripts_run

jobs=$(nproc)
step "configuring the host build" cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug
step "building the host tests" cmake --build build/host -j "$jobs"
for dir in win32 win64; do
    step "configuring the $(windows_arch $dir) build" configure_windows "$PWD" "build/$dir" $dir
    step "building the $(windows_arch $dir) build" cmake --build "build/$dir" -j "$jobs"
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

# Every slot a call goes through must be able to land, every imported name
# must exist in the DLL Wine ships for that architecture, and the image must
# be hardened. The check itself must reject an executable built with the
# faults it looks for.
echo "== Import tables"
source scripts/lib/wine.sh
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
unhardened=("the image lacks DYNAMIC_BASE" "the image lacks NX_COMPAT" "the image lacks a relocation table"
    "section .wx is both writable and executable")
step "the import check's own test (i686)" rejects win32 "ksproxy.ax!KsSynchronousDeviceControl: delay slot" \
    "ksproxy.ax!KsNoSuchFunction: not exported by Wine's ksproxy.ax" "${unhardened[@]}"
step "the import check's own test (x86_64)" rejects win64 "ksproxy.ax!KsNoSuchFunction: not exported by Wine's ksproxy.ax" \
    "${unhardened[@]}" "the image lacks HIGH_ENTROPY_VA"

# The same commit builds the same bytes: built once more from a copy of the
# sources in another folder, what users get is identical.
echo "== Reproducible builds"
step "building the sources again in another folder" scripts/reproduce.sh

# The real executables, end to end under Wine on private X displays. On a
# kernel that runs no 32-bit code the i686 ones run on an emulated CPU (set
# up with the rest of the machine); where 32-bit Wine cannot run even so,
# the i686 checks are not run: they are named (the same checks as the
# x86_64 run made) and not counted.
export LUMETRA_WINE32=$(wine32_missing)
wine32_how
WINE_TESTS=(facts window workarea lifecycle installer vcam standins preview planting)
wine_failures=()
for dir in win32 win64; do
    [[ -n $(build_cannot_run $dir) ]] && continue
    for test in "${WINE_TESTS[@]}"; do
        echo "== tests/wine/${test}_test.sh $dir"
        bash "tests/wine/${test}_test.sh" "$dir" || wine_failures+=("${test}_test.sh $dir")
    done
done
# A signed build: the shipping one where 32-bit Wine runs, else the x86_64 one.
signed_build=$(build_to_run)
echo "== tests/wine/signing_test.sh $signed_build"
bash tests/wine/signing_test.sh $signed_build || wine_failures+=("signing_test.sh $signed_build")
echo "== tests/wine/commands_test.sh"
bash tests/wine/commands_test.sh || wine_failures+=("commands_test.sh")

not_run=()
if [[ -n $LUMETRA_WINE32 ]]; then
    for test in "${WINE_TESTS[@]}"; do
        while IFS= read -r name; do not_run+=("${test}_test i686: $name"); done \
            <"build/wine-tests/win64/${test}_test.checks.txt"
    done
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
