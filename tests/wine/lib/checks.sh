# Checks and their tally, ending in "N passed, N failed". finish also lists
# the script's checks in $ARTIFACTS/$SCRIPT.checks.txt, for the test command
# to name where a build cannot run.
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

finish() { # ends the script's own processes and reports
    end_own_processes
    printf '%s\n' "${CHECKS[@]}" >"$ARTIFACTS/$SCRIPT.checks.txt"
    echo "$passed passed, $failed failed"
    ((failed == 0))
}
