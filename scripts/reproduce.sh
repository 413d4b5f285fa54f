#!/usr/bin/env bash
# Builds the checked-out sources once more, from a copy in a temporary
# folder, and compares what users get - the i686 Lumetra.exe and installer
# and the x86_64 Lumetra.exe - byte for byte with build/win32 and build/win64
# (built before, from the same sources), printing the SHA-256 of both. The
# copy is no git checkout: it is given the commit's time as SOURCE_DATE_EPOCH,
# as a build from a source archive would be.
#   scripts/reproduce.sh
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/steps.sh
copy=$(mktemp -d /tmp/lumetra-reproduce.XXXXXX)
trap 'rm -rf "$copy"' EXIT
epoch=$(git log -1 --format=%ct 2>/dev/null) && export SOURCE_DATE_EPOCH=$epoch

copy_sources() { git ls-files -z --cached --others --exclude-standard | tar -c --null -T - | tar -x -C "$copy"; }
step "copying the sources to $copy" copy_sources
same() { # artifact under build/
    local ours theirs
    ours=$(sha256sum <"build/$1" | cut -d' ' -f1)
    theirs=$(sha256sum <"$copy/build/$1" | cut -d' ' -f1)
    echo "build/$1: sha256 $ours here, $theirs in the copy"
    [[ $ours == "$theirs" ]]
}
for target in win32:"Lumetra installer" win64:Lumetra; do
    IFS=: read -r dir targets <<<"$target"
    step "configuring the copy's $(windows_arch $dir) build" configure_windows "$copy" "$copy/build/$dir" $dir >/dev/null
    # shellcheck disable=SC2086
    step "building the copy's $(windows_arch $dir) build" cmake --build "$copy/build/$dir" -j "$(nproc)" \
        --target $targets >/dev/null
done
failed=0
for artifact in win32/Lumetra.exe "win32/Lumetra-$(cat build/win32/version.txt)-setup.exe" win64/Lumetra.exe; do
    same "$artifact" || { echo "reproduce.sh: build/$artifact differs in the copy" >&2; failed=1; }
done
exit $failed
