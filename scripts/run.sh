#!/usr/bin/env bash
# Builds Lumetra and starts the shipping i686 Lumetra.exe under Wine: on the
# current X display when there is one, otherwise on a private virtual
# display, where it takes a screenshot, says what the preview shows and
# closes Lumetra.
#   scripts/run.sh                   Wine has no camera: nothing reaches one
#   scripts/run.sh --virtual-camera  with the test-only virtual camera, a
#                                    device tree that holds it and a capture
#                                    driver that shows a moving test picture;
#                                    what the camera's driver and the capture
#                                    window received is printed at the end
# LUMETRA_BUILD=win64 runs the x86_64 build instead. The country is kept in
# the Wine prefix build/wineprefix (or $WINEPREFIX) between runs; the
# virtual camera lives in a prefix of its own beside it, named as that one
# with -virtual-camera added, so that a plain run never sees it.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/steps.sh
source scripts/lib/wine.sh
virtual_camera=0
[[ ${1:-} == --virtual-camera ]] && virtual_camera=1
build=${LUMETRA_BUILD:-win32}

step "installing what Lumetra needs" scripts/setup.sh
wine32_how
require_build_runs "$build" "LUMETRA_BUILD=win64 $0 runs the x86_64 build"
# With the virtual camera, both builds are needed: its driver is x86_64, and
# the stand-ins of both architectures are installed whichever build runs.
builds=("$build")
((virtual_camera)) && builds=(win32 win64)
for dir in "${builds[@]}"; do
    targets=()
    [[ $dir == "$build" ]] && targets+=(Lumetra probe)
    ((virtual_camera)) && targets+=(cfgmgr32_standin avicap32_standin)
    ((virtual_camera)) && [[ $dir == "$build" ]] && targets+=(vcam_filter vcam_ksproxy)
    ((virtual_camera)) && [[ $dir == win64 ]] && targets+=(vcam_driver vcamctl)
    step "configuring the $(windows_arch $dir) build" configure_windows "$ROOT" "build/$dir" $dir >/dev/null
    step "building the $(windows_arch $dir) build" cmake --build "build/$dir" -j "$(nproc)" --target "${targets[@]}" \
        >/dev/null
done

source scripts/lib/load.sh "$build"
default_prefix=$ROOT/build/wineprefix
export WINEPREFIX=${WINEPREFIX:-$default_prefix}
if ((virtual_camera)); then
    WINEPREFIX=$WINEPREFIX-virtual-camera
    default_prefix=$default_prefix-virtual-camera
fi

headless=1
if [[ -n ${DISPLAY:-} ]] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    headless=0
else
    echo "No X display: running Lumetra on a private virtual display."
    start_display
fi

# A prefix made by another Wine set-up (before wine32 was installed, say)
# cannot start 32-bit programs; the default prefixes are then made afresh.
if [[ "$(cat "$WINEPREFIX/.lumetra-wine-setup" 2>/dev/null)" != "$(wine_setup)" ]]; then
    updated=0
    if [[ -d $WINEPREFIX ]]; then
        if wineboot -i >/dev/null 2>&1; then
            finish_prefix "$WINEPREFIX"
            updated=1
        else
            wineserver -w # until the server the failed start left has ended
        fi
    fi
    if ((!updated)) && [[ ! -d $WINEPREFIX || $WINEPREFIX == "$default_prefix" ]]; then
        [[ -d $WINEPREFIX ]] && echo "The Wine prefix $WINEPREFIX was made by another Wine set-up; making a fresh one."
        step "making the Wine prefix $WINEPREFIX" make_prefix "$WINEPREFIX"
    elif ((!updated)); then
        STEP_HINT="$WINEPREFIX was made by another Wine set-up: remove it or set WINEPREFIX to a new folder"
        step "updating the Wine prefix" false
    fi
fi
STEP_HINT=
step "starting the Wine server" start_wineserver
let_wine_draw_frames

if ((virtual_camera)); then
    echo "Installing the virtual camera, its device tree and capture driver (test-only) in $WINEPREFIX"
    STEP_HINT="its driver did not start; WINEDEBUG=+service shows why"
    step "installing the virtual camera" install_virtual_camera
    STEP_HINT=
    step "installing the device tree and capture stand-ins" install_standins
    plug_camera
    vcamctl clear >/dev/null
fi

started=0
if ((headless)); then
    STEP_HINT="Lumetra's window did not appear within 30 s"
    step "starting Lumetra" start_lumetra >/dev/null
    STEP_HINT=
    started=1
    sleep 1
    probe activate
    sleep 0.5
    shot=$ROOT/build/lumetra-screenshot.png
    import -window root "$shot"
    echo "Lumetra is running; its window: $shot"
    if [[ -n $(control_line "$(probe layout)" 0) ]]; then
        echo "Its preview shows what the capture driver delivers."
    else
        echo "Its preview is empty: Lumetra found no camera."
    fi
    exit_lumetra >/dev/null
else
    echo "Starting Lumetra on $DISPLAY"
    wine "$EXE" && started=1
fi

if ((virtual_camera)); then
    log=$(vcamctl log)
    if [[ -n $log ]]; then
        echo "The virtual camera's driver received:"
        echo "$log"
    elif ((started)); then
        echo "The virtual camera's driver received no request: Lumetra found no camera to ask (is it registered?)."
    else
        echo "The virtual camera's driver received no request: Lumetra did not start."
    fi
    log=$(capture_log)
    if [[ -n $log ]]; then
        echo "The capture window received:"
        echo "$log"
    else
        echo "The capture window received nothing: Lumetra found no camera in the device tree, or did not start."
    fi
fi
