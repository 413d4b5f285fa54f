#!/usr/bin/env bash
# The real Lumetra.exe on a screen whose work area does not start at 0,0
# (a taskbar at the top and on the left): its window is placed inside the
# work area and centred there, not left at 0,0 under the taskbar.
source "$(dirname "$0")/lib.sh" "$@"

start_display 100,40,924,728
new_prefix
check "the window appears" start_lumetra
layout=$(probe layout)
echo "$layout" >"$ARTIFACTS/workarea-layout.txt"
IFS=, read -r wx wy ww wh <<<"$(field "$layout" window 2)"
check "Wine reports the work area of the taskbars" equals "$(field "$layout" workarea 2)" "100,40,1024,768"
check "the window is not left under the taskbars" test "${wx:-0}" -ge 100 -a "${wy:-0}" -ge 40
check "it is centred in the work area" equals "$wx,$wy" "$(((100 + 1024) / 2 - ww / 2)),$(((40 + 768) / 2 - wh / 2))"
caption=$(awk '$1 == "metrics" { split($2, a, "="); print a[2] }' <<<"$layout")
edge=$(awk '$1 == "metrics" { split($3, a, "="); print a[2] }' <<<"$layout")
check "at its full size" equals "${ww}x$wh" "$((492 + 2 * edge))x$((262 + caption + 2 * edge))"
import -window root "$ARTIFACTS/workarea.png"
exit_lumetra
finish
