# Checks and their tally, ending in "N passed, N failed", and waiting for a
# condition. Each script's checks are also listed, one a line, in
# $ARTIFACTS/$SCRIPT.checks.txt: the test command names them where a build
# cannot run.
passed=0
failed=0
CHECKS=()

check() { # description, then a command that must succeed
    local what=$1
    shift
    CHECKS+=("$what")
    if "$@"; then
        passed=$((passed + 1))
        echo "ok - $what"
    else
        failed=$((failed + 1))
        echo "not ok - $what"
    fi
}

equals() { [[ "$1" == "$2" ]] || { echo "    expected '$2', got '$1'" >&2; return 1; }; }
fails() { ! "$@"; }

# Runs the command every WAIT_EVERY seconds (default 0.1) until it succeeds,
# for at most SECONDS; fails if it never does.
wait_until() { # seconds, then the command
    local tries i every=${WAIT_EVERY:-0.1}
    tries=$(awk -v s="$1" -v e="$every" 'BEGIN { print int(s / e + 0.5) }')
    shift
    for ((i = 0; i < tries; i++)); do
        "$@" && return 0
        sleep "$every"
    done
    "$@"
}

# Ends the script's own processes and reports.
finish() {
    end_own_processes
    printf '%s\n' "${CHECKS[@]}" >"$ARTIFACTS/$SCRIPT.checks.txt"
    echo "$passed passed, $failed failed"
    ((failed == 0))
}
