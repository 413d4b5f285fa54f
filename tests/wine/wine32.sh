# Wine on this machine. Whether 32-bit Windows programs run: wine32_missing
# prints nothing when they do, else why not.
wine32_missing() {
    if [[ ! -x /usr/lib/wine/wine ]]; then
        echo "wine32:i386 is not installed"
    elif ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        echo "the 32-bit Wine loader does not start (this kernel runs no 32-bit code)"
    fi
}

# Where Wine's own DLLs for a build's architecture are.
wine_dll_dir() { # win32 or win64
    [[ $1 == win32 ]] && echo /usr/lib/i386-linux-gnu/wine/i386-windows || echo /usr/lib/x86_64-linux-gnu/wine/x86_64-windows
}
