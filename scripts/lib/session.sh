# The script's own X display, Wine server and Wine prefix, ended with the
# script whatever happens: by its end, a failure, Ctrl-C or a kill.
XVFB_PID=
WINESERVER_PID=
OWN_PREFIX=

# Runs the command every WAIT_EVERY seconds (default 0.1) until it succeeds,
# for at most SECONDS.
wait_until() { # seconds, then the command
    local i tries every=${WAIT_EVERY:-0.1}
    tries=$(awk -v s="$1" -v e="$every" 'BEGIN { print int(s / e + 0.5) }')
    for ((i = 0; i < tries; i++)); do
        "${@:2}" && return 0
        sleep "$every"
    done
    "${@:2}"
}

process_gone() { ! kill -0 "$1" 2>/dev/null; }
end_process() { # pid, then how to ask it politely: after five seconds, for good
    "${@:2}" >/dev/null 2>&1
    wait_until 5 process_gone "$1" || kill -9 "$1" 2>/dev/null
}

# Ends exactly what this script started: its Wine server (and, through it,
# the Wine processes of its prefix) and its Xvfb; removes the prefix it made
# unless KEEP_PREFIX is set. Safe to call more than once.
end_own_processes() {
    [[ -z $WINESERVER_PID ]] || end_process "$WINESERVER_PID" wineserver -k
    [[ -z $XVFB_PID ]] || { end_process "$XVFB_PID" kill "$XVFB_PID"; wait "$XVFB_PID" 2>/dev/null; }
    if [[ -n $OWN_PREFIX && -n ${KEEP_PREFIX:-} ]]; then
        echo "$SCRIPT: kept the Wine prefix $OWN_PREFIX" >&2
    elif [[ -n $OWN_PREFIX ]]; then
        rm -rf "$OWN_PREFIX"
    fi
    WINESERVER_PID= XVFB_PID= OWN_PREFIX=
}
trap end_own_processes EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# A display of 1024 x 768; with "X,Y,WIDTH,HEIGHT", one whose work area is
# that (as with a taskbar at the top or left), announced as a window manager
# would. -noreset keeps it once the announcing client has gone.
start_display() { # [work area]
    local fifo number
    fifo=$(mktemp -u /tmp/lumetra-xvfb.XXXXXX)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
    XVFB_PID=$!
    read -r -t 20 number <"$fifo"
    rm -f "$fifo"
    [[ -n $number ]] || { echo "$SCRIPT: the virtual X display (Xvfb) did not start" >&2; exit 1; }
    export DISPLAY=:$number
    [[ -z ${1:-} ]] || xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "$1"
}

# The Wine server of WINEPREFIX, started by this script so that its process
# is known; persistent, since services (the virtual camera's driver among
# them) end with the server.
wine_answers() { wine cmd /c exit >/dev/null 2>&1; }
start_wineserver() {
    wineserver -f -p >/dev/null 2>&1 &
    WINESERVER_PID=$!
    # A server already running for the prefix (another run of Lumetra in
    # it) makes this one exit at once: that one is not ours to end.
    sleep 0.2
    process_gone "$WINESERVER_PID" && WINESERVER_PID=
    wait_until 10 wine_answers && return 0 # ready once a client can talk to it
    echo "$SCRIPT: the Wine server of $WINEPREFIX did not start" >&2
    return 1
}
restart_wineserver() {
    wineserver -k >/dev/null 2>&1
    [[ -z $WINESERVER_PID ]] || wait_until 5 process_gone "$WINESERVER_PID"
    start_wineserver
}

# Makes (or remakes) a Wine prefix with Wine's fonts, as a new user's machine
# would have them.
make_prefix() { # prefix
    local prefix=$1 status
    # A server left by a failed start in the old prefix would write into it.
    [[ -d $prefix ]] && WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 && WINEPREFIX=$prefix wineserver -w
    rm -rf "$prefix"
    mkdir -p "$prefix"
    WINEPREFIX=$prefix wineboot -i >/dev/null 2>&1
    status=$?
    ((status == 0)) || { echo "$SCRIPT: making the Wine prefix $prefix failed (wineboot status $status)" >&2; return $status; }
    WINEPREFIX=$prefix wineserver -w
    finish_prefix "$prefix"
}
# Gives a prefix Wine's own fonts (read only from the prefix's Fonts folder)
# and records the Wine set-up it was made with.
finish_prefix() { # prefix
    mkdir -p "$1/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$1/drive_c/windows/Fonts/"
    wine_setup >"$1/.lumetra-wine-setup"
}

# Wine draws the window frames itself, as Windows does.
let_wine_draw_frames() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
}

# A fresh prefix for this script, copied from a template made once per Wine
# set-up (wineboot takes a quarter of a minute), with its server started.
new_prefix() {
    local template=$ROOT/build/wine-tests/template
    if [[ "$(cat "$template/.lumetra-wine-setup" 2>/dev/null)" != "$(wine_setup)" ]]; then
        make_prefix "$template" || exit 1
    fi
    OWN_PREFIX=$(mktemp -d /tmp/lumetra-wine.XXXXXX)
    cp -a "$template/." "$OWN_PREFIX/"
    export WINEPREFIX=$OWN_PREFIX
    start_wineserver || exit 1
    let_wine_draw_frames
}
