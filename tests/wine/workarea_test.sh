#!/usr/bin/env bash
# The real Lumetra.exe on a screen whose work area does not start at 0,0
# (a taskbar at the top and on the left): its window is placed inside the
# work area and centred there, not left at 0,0 under the taskbar.
source "$(dirname "$0")/lib/load.sh" "$@"

start_display 100,40,924,728
new_prefix
check "the window appears" start_lumetra
read_layout workarea-layout.txt
check "Wine reports the work area of the taskbars" equals "$(field "$LAYOUT" workarea 2)" "100,40,1024,768"
check "the window is centred in the work area, not left under the taskbars" \
    equals "$WX,$WY" "$(((100 + 1024) / 2 - WW / 2)),$(((40 + 768) / 2 - WH / 2))"
check "at its full size" equals "${WW}x$WH" "$(full_width)x$(full_height)"
import -window root "$ARTIFACTS/workarea.png"
exit_lumetra
finish
