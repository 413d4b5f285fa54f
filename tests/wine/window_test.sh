#!/usr/bin/env bash
# The real Lumetra.exe under Wine: its window, layout and country popup.
source "$(dirname "$0")/lib.sh" "$@"

start_display
new_prefix
check "the window appears" start_lumetra

layout=$(probe layout)
echo "$layout" >"$ARTIFACTS/layout.txt"
caption=$(awk '$1 == "metrics" { split($2, a, "="); print a[2] }' <<<"$layout")
cxedge=$(awk '$1 == "metrics" { split($3, a, "="); print a[2] }' <<<"$layout")
cyedge=$(awk '$1 == "metrics" { split($4, a, "="); print a[2] }' <<<"$layout")
IFS=, read -r wx wy ww wh <<<"$(field "$layout" window 2)"
IFS=, read -r al at ar ab <<<"$(field "$layout" workarea 2)"
check "width is 492 + 2 x vertical edge" equals "$ww" $((492 + 2 * cyedge))
check "height is 262 + caption + 2 x horizontal edge" equals "$wh" $((262 + caption + 2 * cxedge))
check "centred horizontally in the work area" equals "$wx" $(((al + ar) / 2 - ww / 2))
check "centred vertically in the work area" equals "$wy" $(((at + ab) / 2 - wh / 2))

geometry() { awk -v id="$1" '$1 == "control" && $2 == id { for (i = 3; i <= NF; i++) if ($i ~ /^rect=/) print substr($i, 6) }' <<<"$layout"; }
check "preview frame at 10,10 322x242" equals "$(geometry 1003)" "10,10,322,242"
check "group box at 342,3 140x160" equals "$(geometry 1004)" "342,3,140,160"
check "Country at 352,38 120x30" equals "$(geometry 1005)" "352,38,120,30"
check "Other at 352,78 120x30" equals "$(geometry 1006)" "352,78,120,30"
check "OutDoors at 352,118 120x30" equals "$(geometry 1007)" "352,118,120,30"
check "Exit at 342,196 140x30" equals "$(geometry 2)" "342,196,140,30"
for id in 1000 1001 1002; do
    check "radio $id is hidden" grep -q "^control $id .*visible=0" <<<"$layout"
done
import -window root "$ARTIFACTS/window.png" 2>/dev/null

# Another process's WM_GETICON is answered with NULL under Wine, so the icon
# is looked for where the user sees it: at the left of the caption, the
# 32 x 32 image drawn at 16 x 16, with as many of its blue and yellow pixels.
icon_colours() { # image, then how to take the icon from it
    local colour
    for colour in '(b>0.75 && r<0.3 && g<0.3)' '(r>0.75 && g>0.75 && b<0.3)'; do
        convert "$1" "${@:2}" -background gray50 -flatten -fx "$colour" -format "%[fx:round(mean*w*h)] " info:
    done
}
check "the caption shows Lumetra's icon" equals \
    "$(icon_colours "$ARTIFACTS/window.png" -crop "24x$((caption + 4))+$wx+$wy" +repage)" \
    "$(icon_colours "$ROOT/res/Lumetra.ico[0]" -sample 16x16)"

click_control "$layout" 1005
menu=$(probe menu 10)
echo "$menu" >"$ARTIFACTS/country-popup.txt"
check "Country opens a popup menu" grep -q "^popup " <<<"$menu"
IFS=, read -r px py pw ph <<<"$(field "$menu" popup 2)"
xy=$(control_centre "$layout" 1005)
check "the popup opens at the cursor" equals "$px,$py" "${xy% *},${xy#* }"
import -window root "$ARTIFACTS/country-popup.png" 2>/dev/null
xdotool key Escape

click_control "$layout" 2
check "Exit closes the window" probe gone 10
finish
