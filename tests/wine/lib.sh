# Shared by the Wine end-to-end tests and the scripts that run Lumetra under
# Wine: the build under test, a private X display, Wine prefix and Wine
# server that are ended with the script whatever happens, the probe, and a
# tally of checks that ends in "N passed, N failed".
#   source tests/wine/lib.sh [win32|win64]
# win32 is the shipping i686 build, win64 the x86_64 one. Where 32-bit Wine
# cannot run (LUMETRA_WINE32 says why, or a probe finds out), a win32 test
# still walks through its checks but runs none: each is reported skipped.
set -u

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=${1:-${LUMETRA_BUILD:-win32}}
case $BUILD in
win32) ARCH=i686 VIEW=32 ;;
win64) ARCH=x86_64 VIEW=64 ;;
*)
    echo "lib.sh: unknown build '$BUILD' (win32 or win64)" >&2
    exit 2
    ;;
esac
BIN=$ROOT/build/$BUILD
EXE=$BIN/Lumetra.exe
PROBE=$BIN/probe.exe
ARTIFACTS=${ARTIFACTS:-$ROOT/build/wine-tests/$BUILD}
SCRIPT=$(basename "$0" .sh)
mkdir -p "$ARTIFACTS"
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here needs them, and Wine would offer to download them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
passed=0
failed=0
skipped=()

# --- What this machine can run ---------------------------------------------------

source "$ROOT/tests/wine/wine32.sh"
if [[ $BUILD == win32 && -z ${LUMETRA_WINE32+set} ]]; then
    LUMETRA_WINE32=$(wine32_missing)
fi
DRY_RUN=0
[[ $BUILD == win32 && -n ${LUMETRA_WINE32:-} ]] && DRY_RUN=1

# --- Checks ---------------------------------------------------------------------

check() { # description, then a command that must succeed
    local what=$1
    shift
    if ((DRY_RUN)); then
        skipped+=("$what")
        echo "skip - $what"
    elif "$@"; then
        passed=$((passed + 1))
        echo "ok - $what"
    else
        failed=$((failed + 1))
        echo "not ok - $what"
    fi
}

equals() { [[ "$1" == "$2" ]] || { echo "    expected '$2', got '$1'" >&2; return 1; }; }

# Ends the script's own processes and reports. The skipped checks are also
# written to skipped.txt, for the test command's summary.
finish() {
    end_own_processes
    if ((DRY_RUN)); then
        printf '%s\n' "${skipped[@]}" >"$ARTIFACTS/$SCRIPT.skipped.txt"
        echo "$passed passed, $failed failed, ${#skipped[@]} skipped: 32-bit Wine cannot run here ($LUMETRA_WINE32)"
        return 0
    fi
    rm -f "$ARTIFACTS/$SCRIPT.skipped.txt"
    echo "$passed passed, $failed failed"
    ((failed == 0))
}

# --- The script's own display, prefix and server -------------------------------------

XVFB_PID=
WINESERVER_PID=
OWN_PREFIX=

# Kills exactly what this script started: its Xvfb and its Wine server (and,
# through the server, the Wine processes of its prefix), then removes the
# prefix it made. Safe to call more than once.
end_own_processes() {
    if [[ -n $WINESERVER_PID ]]; then
        wineserver -k >/dev/null 2>&1
        for _ in $(seq 50); do kill -0 "$WINESERVER_PID" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$WINESERVER_PID" 2>/dev/null
        WINESERVER_PID=
    fi
    if [[ -n $XVFB_PID ]]; then
        kill "$XVFB_PID" 2>/dev/null
        for _ in $(seq 50); do kill -0 "$XVFB_PID" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    fi
    if [[ -n $OWN_PREFIX && -z ${KEEP_PREFIX:-} ]]; then
        rm -rf "$OWN_PREFIX"
        OWN_PREFIX=
    fi
}
trap end_own_processes EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# A display of 1024 x 768; with "X,Y,WIDTH,HEIGHT", one whose work area is
# that (as with a taskbar at the top or left), announced as a window manager
# would. -noreset keeps it once the announcing client has gone.
start_display() { # [work area]
    ((DRY_RUN)) && return 0
    local fifo number
    fifo=$(mktemp -u /tmp/lumetra-xvfb.XXXXXX)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
    XVFB_PID=$!
    if ! read -r -t 20 number <"$fifo"; then
        rm -f "$fifo"
        echo "$SCRIPT: the virtual X display (Xvfb) did not start" >&2
        exit 1
    fi
    rm -f "$fifo"
    export DISPLAY=:$number
    [[ -z ${1:-} ]] || xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "$1"
}

# The Wine server of WINEPREFIX, started by this script so that its process
# is known; persistent, since services (the virtual camera's driver among
# them) end with the server.
start_wineserver() {
    ((DRY_RUN)) && return 0
    wineserver -f -p >/dev/null 2>&1 &
    WINESERVER_PID=$!
    # A server already running for the prefix (another run of Lumetra in
    # it) makes this one exit at once: that one is not ours to end.
    sleep 0.2
    kill -0 "$WINESERVER_PID" 2>/dev/null || WINESERVER_PID=
    # The server is ready once a client can talk to it.
    for _ in $(seq 100); do wine cmd /c exit >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "$SCRIPT: the Wine server of $WINEPREFIX did not start" >&2
    return 1
}

restart_wineserver() {
    wineserver -k >/dev/null 2>&1
    for _ in $(seq 50); do kill -0 "$WINESERVER_PID" 2>/dev/null || break; sleep 0.1; done
    start_wineserver
}

# What identifies the Wine set-up a prefix was made with: a prefix made by
# another (before wine32 was installed, say) cannot be trusted.
wine_setup() { echo "$(wine --version 2>/dev/null) wine32=$([[ -x /usr/lib/wine/wine ]] && echo yes || echo no)"; }

# Makes (or remakes) a Wine prefix at $1 with Wine's fonts, as a new user's
# machine would have them, and the window frames drawn by Wine itself.
make_prefix() {
    local prefix=$1 status
    # A server left by a failed start in the old prefix would write into it.
    [[ -d $prefix ]] && WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 && WINEPREFIX=$prefix wineserver -w
    rm -rf "$prefix"
    mkdir -p "$prefix"
    WINEPREFIX=$prefix wineboot -i >/dev/null 2>&1
    status=$?
    if ((status)); then
        echo "$SCRIPT: making the Wine prefix $prefix failed (wineboot status $status)" >&2
        return $status
    fi
    WINEPREFIX=$prefix wineserver -w
    finish_prefix "$prefix"
}

# Gives a prefix Wine's own fonts (Wine reads them only from the prefix's
# Fonts folder) and records the Wine set-up it was made with.
finish_prefix() { # prefix
    mkdir -p "$1/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$1/drive_c/windows/Fonts/"
    wine_setup >"$1/.lumetra-wine-setup"
}

# A fresh prefix for this script, copied from a template made once per Wine
# set-up (wineboot takes a quarter of a minute).
new_prefix() {
    ((DRY_RUN)) && return 0
    local template=$ROOT/build/wine-tests/template
    if [[ "$(cat "$template/.lumetra-wine-setup" 2>/dev/null)" != "$(wine_setup)" ]]; then
        make_prefix "$template" || exit 1
    fi
    OWN_PREFIX=$(mktemp -d /tmp/lumetra-wine.XXXXXX)
    cp -a "$template/." "$OWN_PREFIX/"
    export WINEPREFIX=$OWN_PREFIX
    start_wineserver || exit 1
    # Wine draws the window frames itself, as Windows does.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
}

# --- Driving Lumetra -------------------------------------------------------------

if ((DRY_RUN)); then
    # Nothing runs: every command that would reach Wine or the display is a no-op.
    export WINEPREFIX=/nonexistent-wine-prefix
    wine() { :; }
    wineserver() { :; }
    xdotool() { :; }
    import() { :; }
    convert() { :; }
    compare() { :; }
    sleep() { :; }
fi

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
    [[ -n $xy ]] && xdotool mousemove ${xy% *} ${xy#* } click 1
}

field() { # report, line key, field number
    awk -v key="$2" -v n="$3" '$1 == key { print $n; exit }' <<<"$1"
}

# The country value, in the registry view of the build under test (a 32-bit
# program's HKLM\Software is Software\WOW6432Node in a 64-bit prefix).
COUNTRY_KEY='HKLM\Software\ZivoCam'
country_set() { wine reg add "$COUNTRY_KEY" /v Country /t "$1" /d "$2" /f /reg:$VIEW >/dev/null 2>&1; }
country_clear() { wine reg delete "$COUNTRY_KEY" /f /reg:$VIEW >/dev/null 2>&1; true; }
country_stored() {
    local line
    line=$(wine reg query "$COUNTRY_KEY" /v Country /reg:$VIEW 2>/dev/null | tr -d '\r' | grep -i 'Country')
    [[ -n $line ]] && awk '{ print $3 }' <<<"$line" || echo "<none>"
}

# Clicks Lumetra's Exit button and waits for the program to end.
exit_lumetra() {
    click_control "$(probe layout)" 2
    probe gone 15
}

# Leaves Lumetra as a user can: exit, esc, enter or closebox, once its
# window has the focus from a click on the preview.
leave_by() { # how
    local layout wx wy ww wh
    layout=$(probe layout)
    click_control "$layout" 1003
    case $1 in
    exit) click_control "$layout" 2 ;;
    esc) xdotool key Escape ;;
    enter) xdotool key Return ;;
    closebox)
        IFS=, read -r wx wy ww wh <<<"$(field "$layout" window 2)"
        xdotool mousemove $((wx + ww - 12)) $((wy + 12)) click 1
        ;;
    esac
}

# --- The virtual camera (tests/wine/vcam) -------------------------------------------
# Its x86_64 kernel driver, loaded as a service created by the 64-bit control
# tool (a 32-bit process would host the driver in a 32-bit driver host, which
# cannot load it); its capture filter, registered as a video-input device
# named like the camera in the registry view of the build under test; and the
# test ksproxy.ax of that build's architecture in the system folder Lumetra
# loads it from, taken instead of Wine's by a DLL override.
VCAM=$BIN/vcam
VCAMCTL=$ROOT/build/win64/vcam/vcamctl.exe
VCAM_CLSID='{5E1A0C9B-7D3F-4B2A-9C61-4C756D657472}'
VIDEO_INPUT_INSTANCE='HKCR\CLSID\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\Instance'
vcamctl() { wine "$VCAMCTL" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }
# The prefix's system folder for the build's architecture.
system_dir() { [[ $BUILD == win32 ]] && echo "$WINEPREFIX/drive_c/windows/syswow64" || echo "$WINEPREFIX/drive_c/windows/system32"; }
register_virtual_camera() {
    wine reg add "$VIDEO_INPUT_INSTANCE\\$VCAM_CLSID" /v FriendlyName /d "Zivo Web Camera" /f /reg:$VIEW >/dev/null 2>&1
    wine reg add "$VIDEO_INPUT_INSTANCE\\$VCAM_CLSID" /v CLSID /d "$VCAM_CLSID" /f /reg:$VIEW >/dev/null 2>&1
}
unregister_virtual_camera() { wine reg delete "$VIDEO_INPUT_INSTANCE\\$VCAM_CLSID" /f /reg:$VIEW >/dev/null 2>&1; }
install_virtual_camera() {
    ((DRY_RUN)) && return 0
    local dir
    dir=$(system_dir)
    cp "$VCAM/ksproxy.ax" "$VCAM/vcamfilter.dll" "$dir/"
    cp "$ROOT/build/win64/vcam/vcam.sys" "$WINEPREFIX/drive_c/windows/system32/drivers/"
    wine reg add "HKCR\\CLSID\\$VCAM_CLSID\\InprocServer32" /ve /d 'C:\windows\system32\vcamfilter.dll' /f \
        /reg:$VIEW >/dev/null 2>&1
    wine reg add "HKCR\\CLSID\\$VCAM_CLSID\\InprocServer32" /v ThreadingModel /d Both /f /reg:$VIEW >/dev/null 2>&1
    register_virtual_camera
    wine reg add 'HKCU\Software\Wine\DllOverrides' /v ksproxy.ax /d native /f >/dev/null 2>&1
    # In a new prefix the driver's host process can take longer to start than
    # the service manager waits (1053, then a late second instance): let it
    # wait a minute, from a restart on.
    wine reg add 'HKLM\System\CurrentControlSet\Control' /v ServicesPipeTimeout /t REG_DWORD /d 60000 /f \
        /reg:64 >/dev/null 2>&1
    restart_wineserver || return 1
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
