# The Wine tests' library: the helpers of the commands that run Lumetra
# under Wine (scripts/lib/load.sh lists them; it picks the build under test
# and ends the script where this machine cannot run it), and the checks with
# their tally (checks.sh).
#   source tests/wine/lib/load.sh [win32|win64]
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/lib/load.sh" "$@"
source "$ROOT/tests/wine/lib/checks.sh"
