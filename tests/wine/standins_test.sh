#!/usr/bin/env bash
# The test-only stand-ins for cfgmgr32.dll and avicap32.dll of one build:
# their exports against Wine's, and, installed in a prefix as the tests
# install them, their answers under Wine to a program that calls them.
source "$(dirname "$0")/lib/load.sh" "$@"

# "ordinal name target" for each export; the target is "-" for code.
exports() { # dll
    "$ARCH-w64-mingw32-objdump" -p "$1" | awk '
        /^Export Address Table --/ { section = 1; next }
        /^\[Ordinal\/Name Pointer\] Table/ { section = 2; next }
        /^$/ { section = 0 }
        section == 1 && /\+base\[/ { i = $1 $2; gsub(/[^0-9]/, "", i); t[i] = $NF ~ /\./ ? $NF : "-" }
        section == 2 && /\[ *[0-9]+\]/ { i = $0; sub(/\].*/, "", i); gsub(/[^0-9]/, "", i); print i + 1, $NF, t[i] }'
}
for dll in cfgmgr32 avicap32; do
    # What the stand-in implements itself is code, whatever Wine's is.
    own=" $(standin_functions "$dll" | sed 's/@[0-9]*//g' | paste -sd' ') "
    wanted=$(exports "$(wine_dll_dir "$BUILD")/$dll.dll" | awk -v own="$own" 'index(own, " " $2 " ") { $3 = "-" } { print }')
    check "$dll.dll exports what Wine's does, under its ordinals" \
        equals "$(exports "$BIN/standins/$dll.dll")" "$wanted"
done

start_display
new_prefix
check "the stand-ins install" install_standins
run() { wine "$BIN/standins_check.exe" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }
locate_fails() { equals "$(run tree)" "locate cr=19"; }

mapfile -t tree < <(devtree_lines camera)
devtree_set "# a comment" "${tree[@]}"
check "the walk gives back the tree written" equals "$(run tree)" "$(printf '%s\n' "${tree[@]}")"
# Malformed, half written, a jump in depth, a second root, too many nodes,
# too large, none: no tree, and no harm.
bad_trees=(
    "garbage:\x01\xffgarbage" "half a line:0|desc=Root\n1|driv" "a jump in depth:0\n2|desc=Deep" "a second root:0\n0"
    "65 nodes:0$(printf '\\n1%.0s' {1..64})" "16,400 bytes:$(printf '#%.0s' {1..16400})" "no file:"
)
for bad in "${bad_trees[@]}"; do
    text=${bad#*:}
    if [[ -n $text ]]; then
        standins_write devtree.txt "$(printf "$text")"
    else
        rm -f "$(standins_files)/devtree.txt"
    fi
    check "no tree from ${bad%%:*}" locate_fails
done
check "an export Wine leaves unimplemented raises Wine's stub exception" \
    equals "$(run stub CM_Add_IDA 2>/dev/null)" "exception 0x80000100 flags=1 cfgmgr32.dll.CM_Add_IDA"

# The tree and drivers the facts about them set up on the host.
devtree_set 0 '1|desc=USB Root Hub' '2|desc=D|hwid=A|hwid=BC'
capture_drivers_set " " "$WDM_CAPTURE_DRIVER"
capture_log_clear
check "the platform facts of the device tree and the capture drivers hold" run_facts standins
check "the capture log, one line per message" equals "$(capture_log_masked)" "$(
    cat <<'EOF2'
create style=0x80000000 x=0 y=0 width=320 height=240 id=0 result=1
get_videoformat wparam=44 lparam=P width=0 height=0 result=0
set_previewrate wparam=15 lparam=0 result=0
set_preview wparam=1 lparam=0 result=0
connect wparam=5 lparam=0 result=0
connect wparam=1 lparam=0 result=1
get_videoformat wparam=0 lparam=0 width=0 height=0 result=40
get_videoformat wparam=44 lparam=P width=640 height=480 result=40
set_videoformat wparam=44 lparam=P width=321 height=480 result=0
set_videoformat wparam=44 lparam=P width=320 height=240 result=1
set_previewrate wparam=15 lparam=0 result=1
set_preview wparam=1 lparam=0 result=1
disconnect wparam=0 lparam=0 result=1
disconnect wparam=0 lparam=0 result=0
set_preview wparam=1 lparam=0 result=0
destroy
EOF2
)"
finish
