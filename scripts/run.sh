#!/usr/bin/env bash
# Builds Lumetra and starts it under Wine: on the current X display when
# there is one, otherwise on a private virtual display, where it takes a
# screenshot and says where it is.
#   scripts/run.sh                   Wine has no camera: nothing reaches one
#   scripts/run.sh --virtual-camera  with the test-only virtual camera
#                                    installed; its driver's log of every
#                                    request is printed when Lumetra ends
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
virtual_camera=0
[[ ${1:-} == --virtual-camera ]] && virtual_camera=1

scripts/setup.sh
cmake -S . -B build/win64 --no-warn-unused-cli -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
cmake --build build/win64 -j "$(nproc)" --target Lumetra probe vcam_driver vcam_filter vcam_ksproxy vcamctl

export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here needs them, and Wine would offer to download them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
source tests/wine/lib.sh
set +u
EXE=$ROOT/build/win64/Lumetra.exe

headless=1
if [[ -n ${DISPLAY:-} ]] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    headless=0
else
    echo "No X display: running Lumetra on a private virtual display."
    start_display
fi
wineboot -i >/dev/null 2>&1
if ((virtual_camera)); then
    echo "Installing the virtual camera (test-only) in $WINEPREFIX"
    install_virtual_camera || { echo "The virtual camera's driver did not start." >&2; exit 1; }
    vcamctl clear >/dev/null
fi

if ((headless)); then
    # Wine draws the window frames itself, as Windows does.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine "$EXE" >/dev/null 2>&1 &
    if ! probe wait 30 >/dev/null; then
        echo "Lumetra's window did not appear." >&2
        wineserver -k
        exit 1
    fi
    sleep 1
    shot=$ROOT/build/lumetra-screenshot.png
    import -window root "$shot"
    echo "Lumetra is running; its window: $shot"
    ((virtual_camera)) && exit_lumetra
else
    echo "Starting Lumetra on $DISPLAY"
    wine "$EXE" || true
fi
if ((virtual_camera)); then
    echo "The virtual camera received:"
    vcamctl log
fi
wineserver -k
