#!/usr/bin/env bash
# The real Lumetra.exe with the camera plugged in: its presence in the
# device tree, the live preview, the busy warning and hot-plug, against the
# test-only stand-ins for cfgmgr32.dll and avicap32.dll (tests/wine/standins)
# and the virtual camera, seen from the capture window's log, the windows
# and the screen.
source "$(dirname "$0")/lib/load.sh" "$@"
# The probe sends a device's events with a volume's header: a camera's own never reach a window.
DBT_DEVNODES_CHANGED=7 DBT_DEVICEARRIVAL=0x8000 DBT_DEVICEQUERYREMOVE=0x8001 DBT_DEVICEREMOVECOMPLETE=0x8004

start_display
new_prefix
check "the virtual camera's driver is installed and answers" install_virtual_camera
check "the stand-ins install" install_standins
vcamctl value 1 >/dev/null # 50 Hz

start() { capture_log_clear && start_lumetra >/dev/null; }
# The log of a start whose driver reports the frame size given first.
start_log() { # width height
    cat <<EOF2
create style=0x50000000 x=11 y=11 width=320 height=240 id=0 result=1
connect wparam=2 lparam=0 result=1
get_videoformat wparam=44 lparam=P width=$1 height=$2 result=40
set_videoformat wparam=44 lparam=P width=320 height=240 result=1
set_previewrate wparam=15 lparam=0 result=1
set_preview wparam=1 lparam=0 result=1
connect wparam=2 lparam=0 result=1
set_previewrate wparam=15 lparam=0 result=1
set_preview wparam=1 lparam=0 result=1
EOF2
}
STARTED=$(start_log 640 480 | wc -l)
lines() { capture_log | wc -l; }
has_lines() { (($(lines) >= $1)); }
# The lines the capture window logged after the first n.
log_after() { capture_log_masked | tail -n +$(($1 + 1)); }
STOPPED="disconnect wparam=0 lparam=0 result=1
destroy"
# Starts Lumetra with no country stored and waits for its preview's start.
start_previewing() {
    country_clear
    start
    wait_until 20 has_lines $STARTED
    sleep 0.5
}
ALL_DISABLED="visible=0 enabled=0 visible=0 enabled=0 visible=0 enabled=0"

# --- The camera present and free ------------------------------------------------
devtree camera
capture_drivers_set "Other Capture A" "Other Capture B" "$WDM_CAPTURE_DRIVER"
start_previewing
check "the preview's capture messages, in order" equals "$(capture_log_masked)" "$(start_log 640 480)"
capture_log >"$ARTIFACTS/capture-start.txt"
check "both format messages share one buffer" \
    equals "$(capture_log | awk '/videoformat/ { print $3 }' | sort -u | wc -l)" 1
layout=$(probe layout)
echo "$layout" >"$ARTIFACTS/preview-layout.txt"
window=$(control_line "$layout" 0)
check "the capture window is the dialog's child at 11,11, 320 x 240" grep -q "rect=11,11,320,240 .*parent=dialog" \
    <<<"$window"
check "visible, with the style WS_CHILD | WS_VISIBLE" grep -q "visible=1 .*style=0x50000000" <<<"$window"
check "the radios are enabled and stay hidden" equals "$(radios "$layout" 'visible=[01] enabled=[01]')" \
    "visible=0 enabled=1 visible=0 enabled=1 visible=0 enabled=1"
click_control "$layout" "$IDC_BTN_OTHER"
check "the frequency popup checks the camera's 50Hz" equals "$(popup_checked 2)" "0 "
xdotool key Escape

# The test picture moves inside the frame: colour bars, a square below.
IFS=, read -r cx cy <<<"$(control_field "$layout" 0 screen)"
click_control "$layout" "$IDC_PREVIEW_FRAME" # activate the window
sleep 0.5
import -window root "$ARTIFACTS/preview-1.png"
sleep 0.3
import -window root "$ARTIFACTS/preview-2.png"
check "the preview shows the test picture's colour bars" equals \
    "$(test_picture_bars "$ARTIFACTS/preview-1.png" "$cx" "$cy")" "$STANDIN_BARS"
moved=$(test_picture_moved "$ARTIFACTS/preview-1.png" "$ARTIFACTS/preview-2.png" "$cx" "$cy")
echo "    $moved pixels of the square's strip changed"
check "and its square moves" test "$moved" -gt 0

# --- Hot-plug while it runs ---------------------------------------------------------
devtree without-camera
n=$(lines)
probe devicechange $DBT_DEVNODES_CHANGED >/dev/null
check "unplugged, nodes changed: the capture window disconnects and goes" equals "$(log_after "$n")" "$STOPPED"
layout=$(probe layout)
check "no capture window is left" test -z "$(control_line "$layout" 0)"
check "and the radios are disabled" equals "$(radios "$layout" 'visible=[01] enabled=[01]')" "$ALL_DISABLED"
devtree camera
n=$(lines)
probe devicechange $DBT_DEVICEARRIVAL >/dev/null
# The driver keeps the format last set.
check "plugged back, arrival: the preview starts again" equals "$(log_after "$n")" "$(start_log 320 240)"
check "with its window" test -n "$(control_line "$(probe layout)" 0)"
n=$(lines)
probe devicechange $DBT_DEVNODES_CHANGED >/dev/null
probe devicechange $DBT_DEVICEARRIVAL >/dev/null
probe devicechange $DBT_DEVICEQUERYREMOVE >/dev/null
check "later notifications start nothing new" equals "$(log_after "$n")" ""
devtree without-camera
probe devicechange $DBT_DEVICEREMOVECOMPLETE >/dev/null
check "unplugged, remove complete: the preview stops" equals "$(log_after "$n")" "$STOPPED"
devtree other-product
n=$(lines)
probe devicechange $DBT_DEVNODES_CHANGED >/dev/null
probe devicechange $DBT_DEVICEARRIVAL >/dev/null
check "another product of the camera's maker starts nothing" equals "$(log_after "$n")" ""
capture_log >"$ARTIFACTS/capture-hotplug.txt"
exit_lumetra
check "the country is written at exit" equals "$(country_stored)" 4

# --- The camera held by another program ---------------------------------------------
devtree camera
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
check "the failed connect's window was disconnected and destroyed" equals "$(capture_log_masked | tail -2)" \
    "$(sed 's/result=1/result=0/' <<<"$STOPPED")"
check "and the country is written" equals "$(country_stored)" 4
capture_connects 1

# --- Which capture driver is taken ---------------------------------------------------
first_connect() { # drivers...
    capture_drivers_set "$@"
    start
    wait_until 20 capture_log_has '^connect '
    capture_log | grep -m1 '^connect ' | grep -o 'wparam=[0-9]*'
    exit_lumetra >/dev/null
}
check "a driver described ' ' wins over a later WDM one" \
    equals "$(first_connect "Other Capture A" " " "$WDM_CAPTURE_DRIVER")" "wparam=1"
check "a lower-case WDM name does not match" \
    equals "$(first_connect "Other Capture A" "microsoft wdm image capture (win32)")" "wparam=0"

# --- The camera's node without its driver ----------------------------------------------
devtree camera-without-driver
capture_drivers_set "$WDM_CAPTURE_DRIVER"
start
sleep 2
layout=$(probe layout)
check "a camera without its driver: no preview" equals "$(capture_log)" ""
check "no message" fails probe messagebox 1
check "and the radios disabled" equals "$(radios "$layout" 'visible=[01] enabled=[01]')" "$ALL_DISABLED"
exit_lumetra

# --- Every way out with the preview running ---------------------------------------------
devtree camera
leave() { # how
    start_previewing
    leave_by "$1"
    check "leaving by $1 ends the program" probe gone 15
    check "with the capture window disconnected, then destroyed" equals "$(capture_log_masked | tail -2)" "$STOPPED"
    check "and the country written" equals "$(country_stored)" 4
}
for how in exit esc closebox enter; do leave $how; done
finish
