#!/usr/bin/env bash
# Lets this machine run 32-bit x86 Linux programs, so that 32-bit Wine can run
# the shipping i686 build: natively where the kernel runs 32-bit code, and
# elsewhere through qemu's user-mode emulation of an i386 CPU, which
# binfmt_misc then starts for every 32-bit program, with trapno.so preloaded.
#   scripts/i386/emulate.sh        as root, once wine32:i386 is installed;
#                                  safe to run again
#   scripts/i386/emulate.sh how    says in one line how 32-bit programs run
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
DIR=/usr/local/lib/lumetra-i386
BINFMT=/proc/sys/fs/binfmt_misc
ENTRY=$BINFMT/lumetra-i386
# Debian 12's qemu (7.2) spins for ever in Wine's 32-bit loader; Debian 13's runs it.
SUITE=trixie
# An i386 executable or shared object (ELF class 32, little-endian, EM_386).
MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

loader_starts() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
emulating() { [[ $(head -n 1 "$ENTRY" 2>/dev/null) == enabled ]]; }

how() {
    if ! loader_starts; then
        echo "not at all: the 32-bit Wine loader does not start"
    elif emulating; then
        echo "through $("$DIR/qemu-i386" --version | head -n 1 | sed 's/ version//; s/ (.*//') (this kernel runs no 32-bit code)"
    else
        echo "natively"
    fi
}

set_entry() { # 0 or 1, when the entry exists
    if [[ -e $ENTRY ]]; then echo "$1" >"$ENTRY"; fi
}
runs_natively() {
    local status=0
    set_entry 0
    loader_starts || status=1
    set_entry 1
    return $status
}

# qemu-i386 from the next Debian release's qemu-user, through apt with a
# sources list of its own: this machine's own sources stay as they are.
fetch_qemu() {
    local release uri work status=0
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    uri=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Created-By: Packages' |
        awk -v release="$release" '$2 == release { print $1; exit }')
    [[ -n $uri ]] || { echo "emulate.sh: apt has no source for Debian $release" >&2; return 1; }
    work=$(mktemp -d)
    mkdir -p "$work/lists/partial" "$work/cache/archives/partial"
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $SUITE main" >"$work/sources.list"
    local apt=(apt-get -qq -o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts=/nonexistent
        -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache" -o APT::Architectures::=amd64
        -o APT::Sandbox::User=root)
    { "${apt[@]}" update && (cd "$work" && "${apt[@]}" download qemu-user) &&
        dpkg-deb --fsys-tarfile "$work"/qemu-user_*.deb | tar -xO ./usr/bin/qemu-i386 >"$DIR/qemu-i386.new" &&
        chmod 755 "$DIR/qemu-i386.new" && mv "$DIR/qemu-i386.new" "$DIR/qemu-i386"; } || status=1
    rm -rf "$work" "$DIR/qemu-i386.new"
    return $status
}

build_trapno() {
    cmp -s "$HERE/trapno.c" "$DIR/trapno.c" && [[ -f $DIR/trapno.so ]] && return 0
    dpkg-query -W -f='${Status}' gcc-multilib 2>/dev/null | grep -q "install ok installed" ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends gcc-multilib >/dev/null
    gcc -m32 -shared -fPIC -O2 -fno-stack-protector -Wall -Wextra -Werror -o "$DIR/trapno.so" "$HERE/trapno.c"
    cp "$HERE/trapno.c" "$DIR/trapno.c"
}

# binfmt_misc hands the interpreter the program's path and its arguments.
register() {
    cat >"$DIR/run" <<EOF
#!/bin/sh
exec $DIR/qemu-i386 -E LD_PRELOAD=$DIR/trapno.so "\$@"
EOF
    chmod 755 "$DIR/run"
    mountpoint -q "$BINFMT" || mount -t binfmt_misc binfmt_misc "$BINFMT"
    set_entry -1
    printf ':lumetra-i386:M::%s:%s:%s:\n' "$MAGIC" "$MASK" "$DIR/run" >"$BINFMT/register"
}

emulate() {
    if runs_natively; then
        set_entry -1
        return 0
    fi
    mkdir -p "$DIR"
    [[ -x $DIR/qemu-i386 ]] || fetch_qemu
    build_trapno
    register
    loader_starts || { echo "emulate.sh: the 32-bit Wine loader does not start under $DIR/qemu-i386" >&2; return 1; }
}

case ${1:-} in
how) how ;;
"") emulate ;;
*)
    echo "usage: $0 [how]" >&2
    exit 2
    ;;
esac
