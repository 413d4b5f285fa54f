#!/usr/bin/env bash
# Takes the README's pictures from the shipping i686 Lumetra.exe under Wine
# on a private X display, with the window active: the window, the window
# with the country popup open, and the window showing the test picture of
# the test-only virtual camera and capture driver.
# Usage: scripts/screenshots.sh   (after scripts/test.sh has built everything)
source "$(dirname "$0")/../tests/wine/lib.sh" win32
source "$ROOT/tests/wine/standins/standins.sh"
source "$ROOT/scripts/steps.sh"
out=$ROOT/docs

# The window's rectangle as "WIDTHxHEIGHT+X+Y", and its corner as "X Y".
window_geometry() { IFS=, read -r wx wy ww wh <<<"$(field "$(probe layout)" window 2)"; }

start_display
new_prefix
country_set REG_SZ 8 # Japan, so that the popup shows a check mark
step "starting Lumetra" start_lumetra >/dev/null
step "activating its window" probe activate
window_geometry
sleep 0.5
import -window root -crop "${ww}x${wh}+${wx}+${wy}" +repage "$out/lumetra-window.png"

click_control "$(probe layout)" 1005
menu=$(probe menu 10)
IFS=, read -r px py pw ph <<<"$(field "$menu" popup 2)"
sleep 0.5
right=$((px + pw > wx + ww ? px + pw : wx + ww))
bottom=$((py + ph > wy + wh ? py + ph : wy + wh))
import -window root -crop "$((right - wx + 4))x$((bottom - wy + 4))+${wx}+${wy}" +repage "$out/lumetra-country-popup.png"
xdotool key Escape
exit_lumetra >/dev/null

step "installing the virtual camera" install_virtual_camera
step "installing the stand-ins" install_standins
devtree_set "${STANDIN_TREE[@]:0:4}" "$STANDIN_CAMERA" "${STANDIN_TREE[4]}"
capture_drivers_set "Microsoft WDM Image Capture (Win32)"
step "starting Lumetra with the virtual camera" start_lumetra >/dev/null
step "activating its window" probe activate
window_geometry
sleep 1
import -window root -crop "${ww}x${wh}+${wx}+${wy}" +repage "$out/lumetra-test-picture.png"
exit_lumetra >/dev/null
finish >/dev/null
echo "Wrote $out/lumetra-window.png, $out/lumetra-country-popup.png and $out/lumetra-test-picture.png"
