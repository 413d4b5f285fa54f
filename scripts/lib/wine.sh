# Wine on this machine: where its own DLLs are, whether it runs a build, and
# what identifies the set-up a prefix was made with. The build and the
# scripts that decide what to run source it alone.
WINE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Why 32-bit Windows programs cannot run here, or nothing when they can;
# LUMETRA_WINE32, when set, is the answer (any text pretends they cannot).
wine32_missing() {
    if [[ -n ${LUMETRA_WINE32+set} ]]; then
        echo "$LUMETRA_WINE32"
    elif [[ ! -x /usr/lib/wine/wine ]]; then
        echo "wine32:i386 is not installed"
    elif ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        echo "the 32-bit Wine loader does not start (this kernel runs no 32-bit code, and no emulation of it is set up)"
    fi
}
# How 32-bit Windows programs run here, in one line: natively, through an
# emulated CPU (scripts/i386/emulate.sh), or not at all and why.
wine32_how() {
    local why
    why=$(wine32_missing)
    if [[ -n $why ]]; then
        echo "32-bit Windows programs cannot run here: $why"
    else
        echo "32-bit Windows programs run here $("$WINE_ROOT/scripts/i386/emulate.sh" how)"
    fi
}
build_cannot_run() { [[ $1 == win32 ]] && wine32_missing; return 0; } # build: why, or nothing
build_to_run() { [[ -z $(wine32_missing) ]] && echo win32 || echo win64; } # the shipping one where it runs

# Ends the script, saying why and what to do instead, when the build cannot run.
require_build_runs() { # build, [what to do instead]
    local why
    why=$(build_cannot_run "$1")
    [[ -z $why ]] && return 0
    echo "$(basename "$0"): the $1 build cannot run here: $why${2:+; $2}" >&2
    exit 2
}

wine_dll_dir() { # build
    [[ $1 == win32 ]] && echo /usr/lib/i386-linux-gnu/wine/i386-windows || echo /usr/lib/x86_64-linux-gnu/wine/x86_64-windows
}

# A prefix made by another set-up (before 32-bit Wine could run, say) cannot be trusted.
wine_setup() { echo "$(wine --version 2>/dev/null) wine32=$([[ -z $(wine32_missing) ]] && echo yes || echo no)"; }

# Debian's wine launcher starts the 32-bit loader whenever wine32:i386 is
# installed, even for a 64-bit program; where that loader cannot run, the
# commands and Wine's own tools (wineboot) take the 64-bit loader directly.
use_64bit_loader() {
    local dir=$WINE_ROOT/build/wine64-only
    mkdir -p "$dir"
    local name
    for name in wine wine-stable; do # the loader finds its own files beside the path it was started by
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$dir/$name"
        chmod +x "$dir/$name"
    done
    export PATH=$dir:$PATH WINELOADER=/usr/lib/wine/wine64
}
if [[ -n $(wine32_missing) && -x /usr/lib/wine/wine64 && :$PATH: != *:$WINE_ROOT/build/wine64-only:* ]]; then
    use_64bit_loader
fi
