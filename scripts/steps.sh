# Sourced by the commands: runs their steps and, when one fails, says which
# step, with what status, and what to do about it where that is known, in
# one line, then ends the command with that status; and configures the
# Windows builds they make.
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

windows_arch() { [[ $1 == win32 ]] && echo i686 || echo x86_64; } # build: win32 or win64

configure_windows() { # source folder, build folder, build
    cmake -S "$1" -B "$2" --no-warn-unused-cli -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_TOOLCHAIN_FILE="$1/cmake/mingw-$(windows_arch "$3").cmake"
}
