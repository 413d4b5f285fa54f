#!/usr/bin/env bash
# The real Lumetra.exe under Wine: its window, layout and country popup.
source "$(dirname "$0")/lib/load.sh" "$@"

start_display
new_prefix
check "the window appears" start_lumetra

# Its place in the work area: tests/wine/workarea_test.sh.
read_layout layout.txt
check "width is 492 + 2 x vertical edge" equals "$WW" "$(full_width)"
check "height is 262 + caption + 2 x horizontal edge" equals "$WH" "$(full_height)"

geometry() { control_field "$LAYOUT" "$1" rect; }
check "preview frame at 10,10 322x242" equals "$(geometry "$IDC_PREVIEW_FRAME")" "10,10,322,242"
check "group box at 342,3 140x160" equals "$(geometry "$IDC_FREQ_GROUP")" "342,3,140,160"
check "Country at 352,38 120x30" equals "$(geometry "$IDC_BTN_COUNTRY")" "352,38,120,30"
check "Other at 352,78 120x30" equals "$(geometry "$IDC_BTN_OTHER")" "352,78,120,30"
check "OutDoors at 352,118 120x30" equals "$(geometry "$IDC_BTN_OUTDOORS")" "352,118,120,30"
check "Exit at 342,196 140x30" equals "$(geometry "$IDCANCEL")" "342,196,140,30"
for id in $MODE_RADIOS; do
    check "radio $id is hidden" equals "$(control_field "$LAYOUT" "$id" visible)" 0
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
    "$(icon_colours "$ARTIFACTS/window.png" -crop "24x$((CAPTION + 4))+$WX+$WY" +repage)" \
    "$(icon_colours "$ROOT/res/Lumetra.ico[0]" -sample 16x16)"

click_control "$LAYOUT" "$IDC_BTN_COUNTRY"
menu=$(probe menu 10)
echo "$menu" >"$ARTIFACTS/country-popup.txt"
check "Country opens a popup menu" grep -q "^popup " <<<"$menu"
IFS=, read -r px py pw ph <<<"$(field "$menu" popup 2)"
check "the popup opens at the cursor" equals "$px $py" "$(control_centre "$LAYOUT" "$IDC_BTN_COUNTRY")"
import -window root "$ARTIFACTS/country-popup.png" 2>/dev/null
xdotool key Escape

click_control "$LAYOUT" "$IDCANCEL"
check "Exit closes the window" probe gone 10
finish
