#!/usr/bin/env bash
# Takes the README's pictures from the shipping i686 Lumetra.exe under Wine
# on a private X display, with the window active: the window, the window
# with the country popup open, and the window showing the test picture of
# the test-only virtual camera and capture driver.
# Usage: scripts/screenshots.sh   (after scripts/test.sh has built everything)
source "$(dirname "$0")/lib/load.sh" win32
source "$ROOT/scripts/steps.sh"
out=$ROOT/docs

# Starts Lumetra, makes its window active and reads its place.
start_active() { # what the step is called
    step "$1" start_lumetra >/dev/null
    step "activating its window" probe activate
    read_layout screenshots-layout.txt
}
shoot_window() { import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "$1"; }

start_display
new_prefix
country_set REG_SZ 8 # Japan, so that the popup shows a check mark
start_active "starting Lumetra"
sleep 0.5
shoot_window "$out/lumetra-window.png"

click_control "$(probe layout)" "$IDC_BTN_COUNTRY"
menu=$(probe menu 10)
IFS=, read -r px py pw ph <<<"$(field "$menu" popup 2)"
sleep 0.5
right=$((px + pw > WX + WW ? px + pw : WX + WW))
bottom=$((py + ph > WY + WH ? py + ph : WY + WH))
import -window root -crop "$((right - WX + 4))x$((bottom - WY + 4))+${WX}+${WY}" +repage "$out/lumetra-country-popup.png"
xdotool key Escape
exit_lumetra >/dev/null

step "installing the virtual camera" install_virtual_camera
step "installing the stand-ins" install_standins
plug_camera
start_active "starting Lumetra with the virtual camera"
sleep 1
shoot_window "$out/lumetra-test-picture.png"
exit_lumetra >/dev/null
end_own_processes
echo "Wrote $out/lumetra-window.png, $out/lumetra-country-popup.png and $out/lumetra-test-picture.png"
