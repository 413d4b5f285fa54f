# Wine on this machine: where its own DLLs are, whether it runs a build, and
# what identifies the set-up a prefix was made with. The build and the
# scripts that decide what to run source it alone.

# Why 32-bit Windows programs cannot run here, or nothing when they can;
# LUMETRA_WINE32, when set, is the answer (any text pretends they cannot).
wine32_missing() {
    if [[ -n ${LUMETRA_WINE32+set} ]]; then
        echo "$LUMETRA_WINE32"
    elif [[ ! -x /usr/lib/wine/wine ]]; then
        echo "wine32:i386 is not installed"
    elif ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        echo "the 32-bit Wine loader does not start (this kernel runs no 32-bit code)"
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

# A prefix made by another set-up (before wine32 was installed, say) cannot be trusted.
wine_setup() { echo "$(wine --version 2>/dev/null) wine32=$([[ -x /usr/lib/wine/wine ]] && echo yes || echo no)"; }
