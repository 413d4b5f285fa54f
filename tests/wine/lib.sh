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
