#!/usr/bin/env bash
# Lumetra's speed under Wine against baselines, for the shipping i686 build
# and the x86_64 build, in one run, with the virtual camera installed:
#   start - launch until the window shows: Lumetra, a bare dialog from the
#           same template, and that dialog also making the calls Lumetra
#           makes before its window shows (COM, one enumeration, the
#           property read);
#   pick  - a Japan pick from the posted command until the camera's driver
#           sees the SET: Lumetra, a bare program making the calls Lumetra
#           makes per pick (enumerate, find by name, parse, bind, one
#           request), and the bare device request alone.
# Medians of RUNS (default 21) of each, alternating; ratios against each
# baseline. Not a test: the figures depend on the machine.
# Usage: scripts/benchmark.sh [RUNS]   (after scripts/test.sh has built everything)
set -uo pipefail
runs=${1:-21}
if [[ -z ${2:-} ]]; then
    for build in win32 win64; do bash "$0" "$runs" "$build" || exit 1; done
    exit 0
fi
source "$(dirname "$0")/lib/wine.sh"
why=$(build_cannot_run "$2")
if [[ -n $why ]]; then
    echo "the $2 build: not measured, it cannot run here ($why)"
    exit 0
fi
source "$(dirname "$0")/lib/load.sh" "$2"
source "$ROOT/scripts/steps.sh"
out=$ARTIFACTS/benchmark
mkdir -p "$out"

start_display
new_prefix
step "installing the virtual camera" install_virtual_camera
windows() { winepath -w "$1"; }
lumetra=$(windows "$EXE") dialog=$(windows "$BIN/bare_dialog.exe") camera=$(windows "$BIN/bare_camera.exe")

# One warm-up round, so that none pays for Wine's first start.
step "the start-up warm-up" probe bench 1 "$lumetra" "$dialog" "\"$camera\" startup" >/dev/null
step "timing the starts" probe bench "$runs" "$lumetra" "$dialog" "\"$camera\" startup" >"$out/start.txt"

wine "$EXE" >/dev/null 2>&1 &
wine "$BIN/bare_camera.exe" click >/dev/null 2>&1 &
step "starting Lumetra" probe wait 30 >/dev/null
step "starting the bare pick" probe wait 30 "Lumetra bare click" >/dev/null
step "timing the picks" vcamctl time-pick "$runs" Lumetra "Lumetra bare click" >"$out/pick.txt"
step "timing the bare request" vcamctl time-bare "$runs" >"$out/request.txt"
exit_lumetra >/dev/null

median() { sort -n | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Column n of the lines whose first fields are the key words given.
column() { # file, n, key words...
    awk -v n="$2" -v key="${*:3}" '{ k = $1; for (i = 2; i <= split(key, w, " "); i++) k = k " " $i }
        k == key { print $n }' "$1"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
start_l=$(column "$out/start.txt" 3 run | median)
start_d=$(column "$out/start.txt" 4 run | median)
start_c=$(column "$out/start.txt" 5 run | median)
pick_l=$(column "$out/pick.txt" 3 pick 0 | median)
pick_b=$(column "$out/pick.txt" 3 pick 1 | median)
request=$(column "$out/request.txt" 2 bare | median)
echo "$ARCH, medians of $runs:"
echo "  start: Lumetra $start_l ms; bare dialog $start_d ms (ratio $(ratio "$start_l" "$start_d")); dialog with the required start-up calls $start_c ms (ratio $(ratio "$start_l" "$start_c"))"
echo "  pick: Lumetra $pick_l ms; bare pick sequence $pick_b ms (ratio $(ratio "$pick_l" "$pick_b")); bare device request $request ms (ratio $(ratio "$pick_l" "$request"))"
end_own_processes
