#!/usr/bin/env bash
# Takes the README's pictures from the real Lumetra.exe under Wine on a
# private X display: the window, and the window with the country popup open.
# Usage: scripts/screenshots.sh   (after scripts/test.sh has built everything)
source "$(dirname "$0")/../tests/wine/lib.sh"
out=$ROOT/docs

start_display
new_prefix
country_set REG_SZ 8 # Japan, so that the popup shows a check mark
start_lumetra
layout=$(probe layout)
IFS=, read -r wx wy ww wh <<<"$(field "$layout" window 2)"
click_control "$layout" 1003 # activate the window
sleep 0.5
import -window root -crop "${ww}x${wh}+${wx}+${wy}" +repage "$out/lumetra-window.png"

click_control "$layout" 1005
menu=$(probe menu 10)
IFS=, read -r px py pw ph <<<"$(field "$menu" popup 2)"
sleep 0.5
right=$((px + pw > wx + ww ? px + pw : wx + ww))
bottom=$((py + ph > wy + wh ? py + ph : wy + wh))
import -window root -crop "$((right - wx + 4))x$((bottom - wy + 4))+${wx}+${wy}" +repage "$out/lumetra-country-popup.png"
xdotool key Escape
exit_lumetra
wineserver -k
echo "Wrote $out/lumetra-window.png and $out/lumetra-country-popup.png"
