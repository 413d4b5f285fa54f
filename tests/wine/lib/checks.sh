# Checks and their tally, ending in "N passed, N failed", and waiting for a
# condition. finish also lists the script's checks in
# $ARTIFACTS/$SCRIPT.checks.txt, for the test command to name where a build
# cannot run.
passed=0
failed=0
CHECKS=()

check() { # description, then a command that must succeed
    CHECKS+=("$1")
    if "${@:2}"; then
        passed=$((passed + 1))
        echo "ok - $1"
    else
        failed=$((failed + 1))
        echo "not ok - $1"
    fi
}
equals() { [[ "$1" == "$2" ]] || { echo "    expected '$2', got '$1'" >&2; return 1; }; }
fails() { ! "$@"; }

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

finish() { # ends the script's own processes and reports
    end_own_processes
    printf '%s\n' "${CHECKS[@]}" >"$ARTIFACTS/$SCRIPT.checks.txt"
    echo "$passed passed, $failed failed"
    ((failed == 0))
}
