# The helpers of the commands that run Lumetra under Wine, which the Wine
# tests use too (tests/wine/lib/load.sh): sourcing this file picks the build
# (win32, the shipping i686 build, or win64; default LUMETRA_BUILD, else
# win32) and loads the parts, each a concern: wine.sh (Wine on this
# machine), session.sh (the script's own display, server and prefix),
# lumetra.sh (driving Lumetra), vcam.sh and standins.sh (the test-only
# virtual camera and stand-ins). A build this machine cannot run ends the
# script, saying why.
#   source scripts/lib/load.sh [win32|win64]
set -u

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=${1:-${LUMETRA_BUILD:-win32}}
case $BUILD in
win32) ARCH=i686 VIEW=32 ;;
win64) ARCH=x86_64 VIEW=64 ;;
*)
    echo "load.sh: unknown build '$BUILD' (win32 or win64)" >&2
    exit 2
    ;;
esac
SCRIPT=$(basename "$0" .sh)
BIN=$ROOT/build/$BUILD
EXE=$BIN/Lumetra.exe
PROBE=$BIN/probe.exe
ARTIFACTS=${ARTIFACTS:-$ROOT/build/wine-tests/$BUILD}
for part in wine session lumetra vcam standins; do
    source "$ROOT/scripts/lib/$part.sh"
done
require_build_runs "$BUILD"
mkdir -p "$ARTIFACTS"
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here needs them, and Wine would offer to download them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
