# Sourced by the commands: runs their steps and, when one fails, says which
# step, with what status, and what to do about it where that is known, in
# one line, then ends the command with that status.
STEP_COMMAND=$(basename "$0")

step() { # description, then the command
    local what=$1 status
    shift
    "$@"
    status=$?
    ((status == 0)) && return 0
    echo "$STEP_COMMAND: $what failed (status $status)${STEP_HINT:+; $STEP_HINT}" >&2
    exit $status
}
