# The Wine test library: what the end-to-end tests under Wine and the
# scripts that run Lumetra under Wine share. Sourcing this file picks the
# build under test and loads the library's parts:
#   wine.sh      Wine on this machine: its DLL folders, whether it runs 32-bit programs
#   checks.sh    checks and their tally, and waiting for a condition
#   session.sh   the script's own X display, Wine server and prefix, ended with it
#   lumetra.sh   driving Lumetra and reading its window, and its country value
#   vcam.sh      the test-only virtual camera
#   standins.sh  the test-only device-tree and capture-driver stand-ins
#
#   source tests/wine/lib/load.sh [win32|win64]
#
# win32 is the shipping i686 build, win64 the x86_64 one (default:
# LUMETRA_BUILD, else win32). A build this machine cannot run ends the script
# at once, saying why; scripts that want to say it their own way ask
# build_cannot_run (wine.sh) first.
set -u

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
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
for part in wine checks session lumetra vcam standins; do
    source "$ROOT/tests/wine/lib/$part.sh"
done
unset part

require_build_runs "$BUILD"
mkdir -p "$ARTIFACTS"
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here needs them, and Wine would offer to download them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
