#!/usr/bin/env bash
# The real Lumetra.exe against the virtual camera: the camera path through
# Wine's DirectShow enumerator, moniker binding, IKsObject and
# IOCTL_KS_PROPERTY, seen from the requests the camera's driver logs.
source "$(dirname "$0")/lib/load.sh" "$@"

start_display
new_prefix
check "the virtual camera's driver is installed and answers" install_virtual_camera

requests() { vcamctl log | grep -c "^set="; } # since the last clear
at_least_requests() { (($(requests) >= $1)); }
wait_requests() { wait_until 5 at_least_requests "$1"; }
# The requests logged since the last clear, as "flags=value" words.
sent() { vcamctl log | awk '{ split($3, f, "="); split($4, v, "="); printf "%s=%s ", f[2] == 1 ? "GET" : "SET", v[2] }'; }

# Starts Lumetra with the camera holding value; checks the radio it shows.
start_with_value() { # value, expected checks of Outdoor, 50 Hz, 60 Hz
    vcamctl value "$1" >/dev/null
    vcamctl clear >/dev/null
    start_lumetra
    check "mode $1 read at start shows radios $2" equals "$(radios "$(probe layout)" 'check=[0-9]')" "$2"
    check "the start read the mode with one GET" equals "$(sent)" "GET=0 "
}

start_with_value 1 "check=0 check=1 check=0"
exit_lumetra
start_with_value 2 "check=0 check=0 check=1"
vcamctl clear >/dev/null
layout=$(probe layout)
pick_country Down Down Down Down Down Down Down Down Down
wait_requests 1
sleep 0.5
check "Country, Japan sends exactly one SET of 2" equals "$(sent)" "SET=2 "
click_control "$layout" "$IDC_BTN_OTHER"
check "the frequency popup then checks 60Hz" equals "$(popup_checked 2)" "1 "
xdotool key Escape
click_control "$layout" "$IDC_BTN_COUNTRY"
check "and the country popup checks Japan" equals "$(popup_checked 10)" "8 "
xdotool key Escape

vcamctl clear >/dev/null
click_control "$layout" "$IDC_BTN_OUTDOORS"
wait_requests 1
check "OutDoors sends a SET of 0" equals "$(sent)" "SET=0 "
click_control "$layout" "$IDC_BTN_OTHER"
check "the frequency popup then checks nothing" equals "$(popup_checked 2)" ""
xdotool key --delay 100 Down Return # 50Hz
wait_requests 2
check "50Hz sends a SET of 1" equals "$(sent)" "SET=0 SET=1 "
exit_lumetra
check "the country picked was saved" equals "$(country_stored)" 8

start_with_value 7 "check=0 check=0 check=0"
exit_lumetra

unregister_virtual_camera
vcamctl clear >/dev/null
country_clear
start_lumetra
pick_country Up # China
sleep 0.5
click_control "$(probe layout)" "$IDC_BTN_OUTDOORS"
sleep 0.5
exit_lumetra
check "without the camera registered nothing is sent" equals "$(requests)" 0
check "but the country is still recorded" equals "$(country_stored)" 9

vcamctl log >"$ARTIFACTS/vcam-log.txt"
finish
