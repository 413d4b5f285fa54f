# Shared by the Wine end-to-end tests: a private X display and Wine prefix,
# the probe, and a tally of checks that ends in "N passed, N failed".
set -u

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
EXE=$ROOT/build/win64/Lumetra.exe
PROBE=$ROOT/build/win64/probe.exe
ARTIFACTS=${ARTIFACTS:-$ROOT/build/wine-tests}
mkdir -p "$ARTIFACTS"
passed=0
failed=0

check() { # description, then a command that must succeed
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok - $what"
    else
        failed=$((failed + 1))
        echo "not ok - $what"
    fi
}

equals() { [[ "$1" == "$2" ]] || { echo "    expected '$2', got '$1'" >&2; return 1; }; }

start_display() {
    exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
    read -r -t 20 number <&3 || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$number
}

new_prefix() {
    export WINEPREFIX
    WINEPREFIX=$(mktemp -d /tmp/lumetra-wine.XXXXXX)
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    wineboot -i >/dev/null 2>&1
    # Wine draws the window frames itself, as Windows does.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
}

probe() { wine "$PROBE" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }

start_lumetra() {
    wine "$EXE" >/dev/null 2>&1 &
    probe wait 30
}

# Prints "x y" of the centre of control ID from a layout report.
control_centre() {
    awk -v id="$2" '$1 == "control" && $2 == id {
        for (i = 3; i <= NF; i++) if ($i ~ /^rect=/) { split(substr($i, 6), r, ",") }
        for (i = 3; i <= NF; i++) if ($i ~ /^screen=/) { split(substr($i, 8), s, ",") }
        print s[1] + int(r[3] / 2), s[2] + int(r[4] / 2) }' <<<"$1"
}

click_control() { # layout report, control id
    local xy
    xy=$(control_centre "$1" "$2")
    xdotool mousemove ${xy% *} ${xy#* } click 1
}

field() { # report, line key, field number
    awk -v key="$2" -v n="$3" '$1 == key { print $n; exit }' <<<"$1"
}

finish() {
    wineserver -k 2>/dev/null
    echo "$passed passed, $failed failed"
    ((failed == 0))
}

# The country value in the prefix's registry.
COUNTRY_KEY='HKLM\Software\ZivoCam'
country_set() { wine reg add "$COUNTRY_KEY" /v Country /t "$1" /d "$2" /f >/dev/null 2>&1; }
country_clear() { wine reg delete "$COUNTRY_KEY" /f >/dev/null 2>&1; true; }
country_stored() {
    local line
    line=$(wine reg query "$COUNTRY_KEY" /v Country 2>/dev/null | tr -d '\r' | grep -i 'Country')
    [[ -n $line ]] && awk '{ print $3 }' <<<"$line" || echo "<none>"
}

# Clicks Lumetra's Exit button and waits for the program to end.
exit_lumetra() {
    click_control "$(probe layout)" 2
    probe gone 15
}

# The virtual camera (tests/wine/vcam): its driver loaded as a service, its
# filter registered as a video-input device named like the camera, and
# Lumetra copied beside the test-only ksproxy.ax, which a DLL override
# loads instead of Wine's.
VCAM=$ROOT/build/win64/vcam
VCAM_CLSID='{5E1A0C9B-7D3F-4B2A-9C61-4C756D657472}'
VIDEO_INPUT_INSTANCE='HKCR\CLSID\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\Instance'
vcamctl() { wine "$VCAM/vcamctl.exe" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }
register_virtual_camera() {
    wine reg add "$VIDEO_INPUT_INSTANCE\\$VCAM_CLSID" /v FriendlyName /d "Zivo Web Camera" /f >/dev/null 2>&1
    wine reg add "$VIDEO_INPUT_INSTANCE\\$VCAM_CLSID" /v CLSID /d "$VCAM_CLSID" /f >/dev/null 2>&1
}
unregister_virtual_camera() { wine reg delete "$VIDEO_INPUT_INSTANCE\\$VCAM_CLSID" /f >/dev/null 2>&1; }
install_virtual_camera() {
    local app=$WINEPREFIX/drive_c/lumetra
    mkdir -p "$app"
    cp "$ROOT/build/win64/Lumetra.exe" "$VCAM/ksproxy.ax" "$VCAM/vcamfilter.dll" "$app/"
    EXE=$app/Lumetra.exe
    cp "$VCAM/vcam.sys" "$WINEPREFIX/drive_c/windows/system32/drivers/"
    wine reg add "HKCR\\CLSID\\$VCAM_CLSID\\InprocServer32" /ve /d 'C:\lumetra\vcamfilter.dll' /f >/dev/null 2>&1
    wine reg add "HKCR\\CLSID\\$VCAM_CLSID\\InprocServer32" /v ThreadingModel /d Both /f >/dev/null 2>&1
    register_virtual_camera
    wine reg add 'HKCU\Software\Wine\DllOverrides' /v ksproxy.ax /d native /f >/dev/null 2>&1
    # In a new prefix the driver's host process can take longer to start than
    # the service manager waits (1053, then a late second instance): let it
    # wait a minute, from a restart on.
    wine reg add 'HKLM\System\CurrentControlSet\Control' /v ServicesPipeTimeout /t REG_DWORD /d 60000 /f >/dev/null 2>&1
    wineserver -k
    # Services, the driver's included, end with the Wine server: keep it.
    wineserver -p
    for _ in $(seq 5); do
        vcamctl install 'C:\windows\system32\drivers\vcam.sys' >/dev/null 2>&1
        vcamctl count >/dev/null 2>&1 && return 0
        sleep 1
    done
    return 1
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
