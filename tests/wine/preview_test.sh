#!/usr/bin/env bash
# The real Lumetra.exe with the camera plugged in: its presence in the
# device tree, the live preview, the busy warning and hot-plug, against the
# test-only stand-ins for cfgmgr32.dll and avicap32.dll (tests/wine/standins)
# and the virtual camera, seen from the capture window's log, the windows
# and the screen.
source "$(dirname "$0")/lib.sh" "$@"
source "$ROOT/tests/wine/standins/standins.sh"
DBT_DEVNODES_CHANGED=7 DBT_DEVICEARRIVAL=0x8000 DBT_DEVICEQUERYREMOVE=0x8001 DBT_DEVICEREMOVECOMPLETE=0x8004
WDM="Microsoft WDM Image Capture (Win32)"

start_display
new_prefix
check "the virtual camera's driver is installed and answers" install_virtual_camera
check "the stand-ins install" install_standins
((DRY_RUN)) && standins_write() { :; }
vcamctl value 1 >/dev/null # 50 Hz

# The device tree: a bus, a USB controller and hub, a disk, and the camera
# under the hub as given (the line without its depth), or no camera.
tree() { # [camera fields]
    local camera=()
    [[ -n ${1:-} ]] && camera=("4|$1")
    devtree_set "${STANDIN_TREE[@]:0:4}" "${camera[@]}" "${STANDIN_TREE[4]}"
}
CAMERA=${STANDIN_CAMERA#4|}
CAMERA_WITHOUT_DRIVER=$(sed 's/driver=[^|]*|//' <<<"$CAMERA")
OTHER_PRODUCT=${CAMERA//PID_0302/PID_0303}

log() { capture_log | sed -E 's/lparam=[1-9][0-9]*/lparam=P/'; }
# The control line of the capture window (the dialog's child with id 0).
capture_window() { grep "^control 0 " <<<"$(probe layout)"; }
radios() { for id in 1000 1001 1002; do grep "^control $id " <<<"$1" | grep -o "visible=[01] enabled=[01]"; done | paste -sd' '; }
fails() { ! "$@"; }
start() {
    capture_log_clear
    start_lumetra >/dev/null
}
# The log of a start whose driver reports the frame size given first.
start_log() { # width height
    cat <<EOF
create style=0x50000000 x=11 y=11 width=320 height=240 id=0 result=1
connect wparam=2 lparam=0 result=1
get_videoformat wparam=44 lparam=P width=$1 height=$2 result=40
set_videoformat wparam=44 lparam=P width=320 height=240 result=1
set_previewrate wparam=15 lparam=0 result=1
set_preview wparam=1 lparam=0 result=1
connect wparam=2 lparam=0 result=1
set_previewrate wparam=15 lparam=0 result=1
set_preview wparam=1 lparam=0 result=1
EOF
}
STARTED=$(start_log 640 480 | wc -l)
lines() { log | wc -l; }
# Waits until the log has n lines (or 20 s have passed).
wait_lines() { for _ in $(seq 200); do (($(lines) >= $1)) && return 0; sleep 0.1; done; return 1; }
# The lines the capture window logged after the first n.
log_after() { log | tail -n +$(($1 + 1)); }
STOPPED="disconnect wparam=0 lparam=0 result=1
destroy"

# --- The camera present and free ------------------------------------------------
tree "$CAMERA"
capture_drivers_set "Other Capture A" "Other Capture B" "$WDM"
country_clear
start
wait_lines $STARTED
sleep 0.5
check "the preview's capture messages, in order" equals "$(log)" "$(start_log 640 480)"
capture_log >"$ARTIFACTS/capture-start.txt"
check "both format messages share one buffer" \
    equals "$(capture_log | awk '/videoformat/ { print $3 }' | sort -u | wc -l)" 1
layout=$(probe layout)
echo "$layout" >"$ARTIFACTS/preview-layout.txt"
window=$(grep "^control 0 " <<<"$layout")
check "the capture window is the dialog's child at 11,11, 320 x 240" grep -q "rect=11,11,320,240 .*parent=dialog" \
    <<<"$window"
check "visible, with the style WS_CHILD | WS_VISIBLE" grep -q "visible=1 .*style=0x50000000" <<<"$window"
check "the radios are enabled and stay hidden" equals "$(radios "$layout")" \
    "visible=0 enabled=1 visible=0 enabled=1 visible=0 enabled=1"
click_control "$layout" 1006
check "the frequency popup checks the camera's 50Hz" equals "$(popup_checked 2)" "0 "
xdotool key Escape

# The test picture moves inside the frame: colour bars, a square below.
IFS=, read -r cx cy <<<"$(grep -o 'screen=[0-9,]*' <<<"$window" | cut -d= -f2)"
click_control "$layout" 1003 # activate the window
sleep 0.5
import -window root "$ARTIFACTS/preview-1.png"
sleep 0.3
import -window root "$ARTIFACTS/preview-2.png"
check "the preview shows the test picture's colour bars" equals \
    "$(test_picture_bars "$ARTIFACTS/preview-1.png" "$cx" "$cy")" "$STANDIN_BARS"
moved=$(test_picture_moved "$ARTIFACTS/preview-1.png" "$ARTIFACTS/preview-2.png" "$cx" "$cy")
((DRY_RUN)) || echo "    $moved pixels of the square's strip changed"
check "and its square moves" test "$moved" -gt 0

# --- Hot-plug while it runs ---------------------------------------------------------
tree
n=$(lines)
probe devicechange $DBT_DEVNODES_CHANGED >/dev/null
check "unplugged, nodes changed: the capture window disconnects and goes" equals "$(log_after "$n")" "$STOPPED"
layout=$(probe layout)
check "no capture window is left" test -z "$(grep '^control 0 ' <<<"$layout")"
check "and the radios are disabled" equals "$(radios "$layout")" \
    "visible=0 enabled=0 visible=0 enabled=0 visible=0 enabled=0"
tree "$CAMERA"
n=$(lines)
probe devicechange $DBT_DEVICEARRIVAL >/dev/null
# The driver keeps the format last set.
check "plugged back, arrival: the preview starts again" equals "$(log_after "$n")" "$(start_log 320 240)"
check "with its window" test -n "$(capture_window)"
n=$(lines)
probe devicechange $DBT_DEVNODES_CHANGED >/dev/null
probe devicechange $DBT_DEVICEARRIVAL >/dev/null
probe devicechange $DBT_DEVICEQUERYREMOVE >/dev/null
check "later notifications start nothing new" equals "$(log_after "$n")" ""
tree
probe devicechange $DBT_DEVICEREMOVECOMPLETE >/dev/null
check "unplugged, remove complete: the preview stops" equals "$(log_after "$n")" "$STOPPED"
tree "$OTHER_PRODUCT"
n=$(lines)
probe devicechange $DBT_DEVNODES_CHANGED >/dev/null
probe devicechange $DBT_DEVICEARRIVAL >/dev/null
check "another product of the camera's maker starts nothing" equals "$(log_after "$n")" ""
capture_log >"$ARTIFACTS/capture-hotplug.txt"
exit_lumetra
check "the country is written at exit" equals "$(country_stored)" 4

# --- The camera held by another program ---------------------------------------------
tree "$CAMERA"
capture_connects 0
country_clear
capture_log_clear
# The warning comes before the window shows.
wine "$EXE" >/dev/null 2>&1 &
box=$(probe messagebox 30)
echo "$box" >"$ARTIFACTS/busy-box.txt"
check "the busy warning shows, owned by Lumetra's window" grep -q '^box caption="Warnning" owner=lumetra$' <<<"$box"
check "with the warning's text" grep -q 'class=Static text="Please close other application with Zivo Web Camera!"' \
    <<<"$box"
import -window root "$ARTIFACTS/busy.png"
xdotool key Return
check "after OK the window closes" probe gone 15
check "without a second warning" test "$(grep -c '^connect ' <<<"$(capture_log)")" = 1
check "the failed connect's window was disconnected and destroyed" equals "$(log | tail -2)" \
    "$(sed 's/result=1/result=0/' <<<"$STOPPED")"
check "and the country is written" equals "$(country_stored)" 4
capture_connects 1

# --- Which capture driver is taken ---------------------------------------------------
first_connect() { # drivers...
    capture_drivers_set "$@"
    start
    capture_log_wait '^connect ' 20
    capture_log | grep -m1 '^connect ' | grep -o 'wparam=[0-9]*'
    exit_lumetra >/dev/null
}
check "a driver described ' ' wins over a later WDM one" \
    equals "$(first_connect "Other Capture A" " " "$WDM")" "wparam=1"
check "a lower-case WDM name does not match" \
    equals "$(first_connect "Other Capture A" "microsoft wdm image capture (win32)")" "wparam=0"

# --- The camera's node without its driver ----------------------------------------------
tree "$CAMERA_WITHOUT_DRIVER"
capture_drivers_set "$WDM"
start
sleep 2
layout=$(probe layout)
check "a camera without its driver: no preview" equals "$(capture_log)" ""
check "no message" fails probe messagebox 1
check "and the radios disabled" equals "$(radios "$layout")" "visible=0 enabled=0 visible=0 enabled=0 visible=0 enabled=0"
exit_lumetra

# --- Every way out with the preview running ---------------------------------------------
tree "$CAMERA"
leave() { # how
    country_clear
    start
    wait_lines $STARTED
    sleep 0.5
    leave_by "$1"
    check "leaving by $1 ends the program" probe gone 15
    check "with the capture window disconnected, then destroyed" equals "$(log | tail -2)" "$STOPPED"
    check "and the country written" equals "$(country_stored)" 4
}
for how in exit esc closebox enter; do leave $how; done
finish
