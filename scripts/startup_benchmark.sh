#!/usr/bin/env bash
# Start-up time of Lumetra.exe under Wine against a bare dialog made from the
# same template: launch to window shown, alternating the two, medians and
# their ratio. Not a test: the figures depend on the machine.
# Usage: scripts/startup_benchmark.sh [RUNS]   (after scripts/test.sh has built)
source "$(dirname "$0")/../tests/wine/lib.sh"
runs=${1:-15}

start_display
new_prefix
# One warm-up of each, so that neither pays for Wine's first start.
probe bench 1 "$(winepath -w "$EXE")" "$(winepath -w "$ROOT/build/win64/bare_dialog.exe")" >/dev/null
probe bench "$runs" "$(winepath -w "$EXE")" "$(winepath -w "$ROOT/build/win64/bare_dialog.exe")" | tee "$ARTIFACTS/startup.txt"
wineserver -k 2>/dev/null
awk '$1 == "run" { a[n] = $3; b[n] = $4; n++ }
    function median(v, n,   i, j, t) {
        for (i = 0; i < n; i++) for (j = i + 1; j < n; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
        return n % 2 ? v[int(n / 2)] : (v[n / 2 - 1] + v[n / 2]) / 2
    }
    END {
        ma = median(a, n); mb = median(b, n)
        printf "runs %d: Lumetra median %.1f ms, bare dialog median %.1f ms, ratio %.3f\n", n, ma, mb, ma / mb
    }' "$ARTIFACTS/startup.txt"
