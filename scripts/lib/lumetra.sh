# Driving the build under test and reading what it shows: the probe
# (tests/wine/probe.cpp) reports its window, xdotool plays the user, and the
# registry holds its country.

# Lumetra's identifiers by their names in res/resource.h, and Windows' own two.
eval "$(awk '$1 == "#define" && $2 ~ /^ID[A-Z]*_[A-Z0-9_]+$/ && $3 ~ /^[0-9]+$/ { print $2 "=" $3 }' \
    "$ROOT/res/resource.h")"
IDCANCEL=2
MODE_RADIOS="$IDC_RADIO_OUTDOOR $IDC_RADIO_50HZ $IDC_RADIO_60HZ"

# The build's installer (for x86_64 a test-only one from the same script) and
# the Program Files folder it installs into.
VERSION=$(cat "$BIN/version.txt" 2>/dev/null)
if [[ $BUILD == win32 ]]; then
    SETUP=$BIN/Lumetra-$VERSION-setup.exe PROGRAM_FILES='C:\Program Files (x86)'
else
    SETUP=$BIN/Lumetra-$VERSION-setup-x64-test.exe PROGRAM_FILES='C:\Program Files'
fi
installed_dir() { echo "$WINEPREFIX/drive_c/${PROGRAM_FILES#C:\\}/Lumetra"; } # where the installer puts Lumetra

probe() { wine "$PROBE" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# The platform facts (tests/facts/) of the build, their report kept; with
# "standins", those about what the stand-ins stand in for.
run_facts() { # [standins]
    timeout 300 wine "$BIN/platform_facts.exe" "$@" | tr -d '\r' | tee "$ARTIFACTS/platform_facts${1:+-$1}.txt"
    ((PIPESTATUS[0] == 0))
}

start_lumetra() {
    wine "$EXE" >/dev/null 2>&1 &
    probe wait 30
}

# --- Reading a report of the probe -------------------------------------------------

field() { awk -v key="$2" -v n="$3" '$1 == key { print $n; exit }' <<<"$1"; } # report, line key, field number
control_line() { grep "^control $2 " <<<"$1"; }                                 # report, id
control_field() { # report, id, key: the value of KEY=VALUE on the control's line
    awk -v id="$2" -v key="$3=" '$1 == "control" && $2 == id {
        for (i = 3; i <= NF; i++) if (index($i, key) == 1) print substr($i, length(key) + 1) }' <<<"$1"
}

# Reads Lumetra's layout into LAYOUT (a copy kept in $ARTIFACTS/NAME when a
# name is given), its system metrics into CAPTION, CXEDGE and CYEDGE, and
# its window's place into WX, WY, WW and WH.
read_layout() { # [name]
    LAYOUT=$(probe layout)
    [[ -z ${1:-} ]] || echo "$LAYOUT" >"$ARTIFACTS/$1"
    eval "$(awk '$1 == "metrics" { for (i = 2; i <= NF; i++) { split($i, kv, "="); print toupper(kv[1]) "=" kv[2] } }' \
        <<<"$LAYOUT")"
    IFS=, read -r WX WY WW WH <<<"$(field "$LAYOUT" window 2)"
}
# The window's size at those metrics: the width takes the vertical edge, the
# height the caption and the horizontal edge.
full_width() { echo $((492 + 2 * CYEDGE)); }
full_height() { echo $((262 + CAPTION + 2 * CXEDGE)); }

# A field of each hidden radio, in mode order: "visible=0 enabled=1 ...".
radios() { # report, then a pattern such as 'visible=[01] enabled=[01]'
    local id
    for id in $MODE_RADIOS; do control_line "$1" "$id" | grep -o "$2"; done | paste -sd' '
}

# --- Playing the user ---------------------------------------------------------------

control_centre() { # report, id: "x y" on the screen
    local x y w h sx sy
    IFS=, read -r x y w h <<<"$(control_field "$1" "$2" rect)"
    IFS=, read -r sx sy <<<"$(control_field "$1" "$2" screen)"
    [[ -n $sx ]] && echo "$((sx + w / 2)) $((sy + h / 2))"
}
click_control() { # report, id
    local xy
    xy=$(control_centre "$1" "$2")
    [[ -n $xy ]] && xdotool mousemove ${xy% *} ${xy#* } click 1
}

# Clicks Exit and waits for the program to end.
exit_lumetra() {
    click_control "$(probe layout)" "$IDCANCEL"
    probe gone 15
}

# Leaves Lumetra as a user can: exit, esc, enter or closebox, once its
# window has the focus from a click on the preview.
leave_by() { # how
    read_layout
    click_control "$LAYOUT" "$IDC_PREVIEW_FRAME"
    case $1 in
    exit) click_control "$LAYOUT" "$IDCANCEL" ;;
    esc) xdotool key Escape ;;
    enter) xdotool key Return ;;
    closebox) xdotool mousemove $((WX + WW - 12)) $((WY + 12)) click 1 ;;
    esac
}

# Opens the Country popup and picks with the keys given (Return added).
pick_country() { # keys...
    click_control "$(probe layout)" "$IDC_BTN_COUNTRY"
    probe menu 10 >/dev/null
    xdotool key --delay 100 "$@" Return
}

# Prints the positions of the checked items of the open popup menu of n
# items, read from its pixels (another process's menus cannot be queried).
popup_checked() { # n
    local menu n=$1 x y w h item dark i
    menu=$(probe menu 10) || return 1
    IFS=, read -r x y w h <<<"$(field "$menu" popup 2)"
    item=$(((h - 6) / n)) # a 3-pixel frame above and below the items
    xdotool mousemove 1 1
    sleep 0.3
    import -window root "$ARTIFACTS/popup.png"
    for ((i = 0; i < n; i++)); do
        dark=$(convert "$ARTIFACTS/popup.png" -crop "12x$((item - 2))+$((x + 3))+$((y + 4 + i * item))" +repage \
            -colorspace gray -threshold 50% -format "%[fx:mean]" info:)
        awk -v d="$dark" 'BEGIN { exit !(d < 0.98) }' && echo -n "$i "
    done
    echo
}

# --- The country value, in the registry view of the build under test -------------------
# (a 32-bit program's HKLM\Software is Software\WOW6432Node in a 64-bit prefix)
COUNTRY_KEY='HKLM\Software\ZivoCam'
country_set() { wine reg add "$COUNTRY_KEY" /v Country /t "$1" /d "$2" /f /reg:$VIEW >/dev/null 2>&1; } # type, data
country_clear() { wine reg delete "$COUNTRY_KEY" /f /reg:$VIEW >/dev/null 2>&1; true; }
country_stored() {
    local line
    line=$(wine reg query "$COUNTRY_KEY" /v Country /reg:$VIEW 2>/dev/null | tr -d '\r' | grep -i 'Country')
    [[ -n $line ]] && awk '{ print $3 }' <<<"$line" || echo "<none>"
}
