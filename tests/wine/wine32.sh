# Whether 32-bit Windows programs run on this machine: wine32_missing prints
# nothing when they do, else why not.
wine32_missing() {
    if [[ ! -x /usr/lib/wine/wine ]]; then
        echo "wine32:i386 is not installed"
    elif ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        echo "the 32-bit Wine loader does not start (this kernel runs no 32-bit code)"
    fi
}
