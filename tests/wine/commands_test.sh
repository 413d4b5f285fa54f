#!/usr/bin/env bash
# The README's run command and the Wine tests as a user meets them: each
# run ends every process it started (its X display, its Wine server and the
# Wine processes under it), also when it fails or is interrupted, a run
# that stops early says why in one line, and the virtual camera stays in a
# prefix of its own.
source "$(dirname "$0")/lib/load.sh" win64

# The commands run with a mark in their environment, which every process
# they start inherits (their X display, Wine server and Wine processes), so
# that what they leave is told apart from anything else on the machine.
export LUMETRA_RUN_MARK=$$.$RANDOM
left_over() {
    local pid
    sleep 1 # a process that is ending may take a moment to be gone
    for pid in /proc/[0-9]*; do
        tr '\0' '\n' 2>/dev/null <"$pid/environ" | grep -qx "LUMETRA_RUN_MARK=$LUMETRA_RUN_MARK" &&
            [[ ${pid#/proc/} != $$ && ${pid#/proc/} != "$BASHPID" ]] && ps -o pid=,args= -p "${pid#/proc/}"
    done
}
nothing_left() {
    local left
    left=$(left_over)
    [[ -z $left ]] || { echo "    still running: $left" >&2; return 1; }
}

# The shipping build where 32-bit Wine runs, else the x86_64 one.
run_build=$(build_to_run)
run_headless() { # arguments of run.sh; its output lands in run.out
    env -u DISPLAY WINEPREFIX="$run_prefix" LUMETRA_BUILD=$run_build bash "$ROOT/scripts/run.sh" "$@" \
        >"$ARTIFACTS/run.out" 2>&1
}
said() { grep -q "$1" "$ARTIFACTS/run.out"; }
# The runs' own prefixes, made by the first of them; removed when this ends.
OWN_PREFIX=$(mktemp -d /tmp/lumetra-run.XXXXXX)
run_prefix=$OWN_PREFIX/prefix

check "run.sh starts Lumetra on a private display and ends" run_headless
check "and leaves nothing running" nothing_left
check "a second run.sh in the same prefix ends too" run_headless
check "and leaves nothing running" nothing_left
check "run.sh --virtual-camera ends" run_headless --virtual-camera
check "and prints what the camera received" said "^set=9C757C5A(camera) id=15 flags=1"
check "with the test picture in its preview" said "^Its preview shows what the capture driver delivers"
check "and leaves nothing running, the camera's driver host included" nothing_left
check "a plain run.sh after it ends" run_headless
check "with its preview empty again: no virtual camera there" said "^Its preview is empty"

# A prefix made by another Wine set-up cannot start 32-bit programs (the
# loader ends with status 53): a prefix of the user's own is left alone,
# with a one-line reason. (Where no 32-bit program can run, the 64-bit
# loader alone has no use for what such a prefix lacks.)
if [[ $run_build == win32 ]]; then
    rm -f "$run_prefix/.lumetra-wine-setup" "$run_prefix/drive_c/windows/syswow64/kernel32.dll"
    check "run.sh stops on a prefix made by another Wine set-up" fails run_headless
    check "saying why in one line" equals "$(grep -c '^run.sh: ' "$ARTIFACTS/run.out")" 1
    check "and what to do" said "was made by another Wine set-up: remove it or set WINEPREFIX"
    check "and leaves nothing running" nothing_left
fi

# A Wine test interrupted while Lumetra is up, as by Ctrl-C in a terminal:
# the whole process group gets SIGINT.
window_appeared() { grep -q "^ok - the window appears" "$ARTIFACTS/interrupted.out"; }
interrupt_test() {
    local group
    setsid bash "$ROOT/tests/wine/window_test.sh" $run_build >"$ARTIFACTS/interrupted.out" 2>&1 &
    group=$!
    wait_until 20 window_appeared
    kill -INT -- -"$group"
    wait_until 20 process_gone "$group"
    window_appeared && process_gone "$group"
}
check "a Wine test interrupted with Lumetra up ends" interrupt_test
check "and leaves nothing running" nothing_left
finish
