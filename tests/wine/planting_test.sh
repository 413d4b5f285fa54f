#!/usr/bin/env bash
# DLL planting: a copy of Lumetra.exe in its user's Downloads folder, with a
# DLL of ours (tests/wine/planted) beside it under the name of each system
# DLL it uses that Windows does not protect as a KnownDLL, and Windows'
# search order for those names (native first; Wine would otherwise take its
# own builtin DLL whatever lies beside the program). Lumetra runs the camera
# path against the virtual camera and the preview against the stand-ins, both
# installed in the system folder; no planted DLL may be loaded or run.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};ksproxy.ax,cfgmgr32,avicap32=n,b"
source "$(dirname "$0")/lib/load.sh" "$@"
PLANTED_NAMES=(ksproxy.ax cfgmgr32.dll avicap32.dll)
LOADS=$ARTIFACTS/planting-loaddll.txt

start_display
new_prefix
check "the virtual camera's driver is installed and answers" install_virtual_camera
check "the stand-ins install" install_standins

user=$(id -un)
downloads=$WINEPREFIX/drive_c/users/$user/Downloads
plant() {
    local name
    # Wine links the user's folders to the Unix home: this one is the prefix's own.
    rm -f "$downloads" && mkdir -p "$downloads" && cp "$EXE" "$downloads/Lumetra.exe" || return 1
    for name in "${PLANTED_NAMES[@]}"; do cp "$BIN/planted.dll" "$downloads/$name" || return 1; done
}
check "Lumetra.exe is copied to C:\\users\\$user\\Downloads, a DLL planted beside it as ${PLANTED_NAMES[*]}" plant
EXE="C:\\users\\$user\\Downloads\\Lumetra.exe"

# The camera plugged in, free, at 50 Hz, with its capture driver.
plug_camera
vcamctl value 1 >/dev/null
vcamctl clear >/dev/null
# Started with the loader's trace kept. A program that loaded a planted DLL
# may crash before its window shows: then there is nothing to drive.
WINEDEBUG=+loaddll wine "$EXE" >/dev/null 2>"$LOADS" &
shown=$(probe wait 30 >/dev/null && echo yes)
check "Lumetra started from Downloads shows its window" test -n "$shown"
if [[ -n $shown ]]; then
    check "its preview runs" wait_until 20 capture_log_has '^set_preview wparam=1 .*result=1'
    click_control "$(probe layout)" "$IDC_BTN_OUTDOORS"
    sleep 1
    check "the camera's driver received the start's GETs and OutDoors' SET" \
        equals "$(vcamctl log | awk '{ print $3, $4 }' | sort -u | paste -sd' ')" "flags=1 value=0 flags=2 value=0"
    check "Lumetra ends by its Exit button" exit_lumetra
fi

tr -d '\r' <"$LOADS" | grep -iF "${PLANTED_NAMES[@]/#/-e}" | sed 's/^/    /'
not_loaded_beside() { ! grep -qiF "Downloads\\\\$1\"" "$LOADS"; }
# The planted DLL's mark, under the name the loader gave it.
mark() { find "$downloads" -maxdepth 1 -iname "$1.ran" 2>/dev/null; }
for name in "${PLANTED_NAMES[@]}"; do
    check "the planted $name was not loaded" not_loaded_beside "$name"
    check "and its code did not run" test -z "$(mark "$name")"
    [[ -z $(mark "$name") ]] || tr -d '\r' <"$(mark "$name")" | sed 's/^/    /'
done
finish
