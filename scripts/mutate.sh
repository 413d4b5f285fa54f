#!/usr/bin/env bash
# Mutation check of the product code: makes one small change at a time to a
# source of camera/, control/ or ui/ (the mutants of scripts/mutants.py: a
# comparison flipped, a condition negated, a constant changed, a statement
# dropped), rebuilds the host tests (AddressSanitizer,
# UndefinedBehaviorSanitizer), runs them, and reports which mutants the
# tests killed and which survived.
#
#   scripts/mutate.sh [--list] [--ids 3,17,...] [--limit N]
#
# --list prints the mutants without running them; --ids runs only those;
# --limit runs the first N. Everything happens in a scratch copy of the
# sources under a temporary directory, removed at the end, so the tree is
# never touched, even by a run that is interrupted. The report is written to
# build/mutate/report.txt. LUMETRA_SOAK_EVENTS (default 3000) shortens the
# random run of each test pass; MUTATE_TIMEOUT (default 60) bounds it in
# seconds, and a pass that takes longer counts as killed.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

list=0 ids="" limit=0
while [ $# -gt 0 ]; do
    case $1 in
    --list) list=1 ;;
    --ids) ids=$2; shift ;;
    --limit) limit=$2; shift ;;
    *) echo "usage: $0 [--list] [--ids 3,17,...] [--limit N]" >&2; exit 2 ;;
    esac
    shift
done

export LUMETRA_SOAK_EVENTS=${LUMETRA_SOAK_EVENTS:-3000}
timeout_s=${MUTATE_TIMEOUT:-60}
report_dir=$ROOT/build/mutate
mkdir -p "$report_dir"

# The mutants, one a line (scripts/mutants.py says how they are made).
mutants() { python3 "$ROOT/scripts/mutants.py" list; }

if [ "$list" = 1 ]; then
    mutants
    exit 0
fi

work=$(mktemp -d /tmp/lumetra-mutate.XXXXXX)
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
git ls-files -z | tar --null -T - -cf - | tar -xf - -C "$work" --one-top-level=src
cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE=Debug >/dev/null

# 0 the tests pass, 1 they fail, 2 it does not build, 3 they run too long.
build_and_test() {
    cmake --build "$work/build" -j2 --target lumetra_tests >"$work/build.log" 2>&1 || return 2
    local status=0
    timeout "$timeout_s" "$work/build/lumetra_tests" --gtest_brief=1 >"$work/test.log" 2>&1 || status=$?
    [ $status = 0 ] && return 0
    [ $status = 124 ] && return 3
    return 1
}

echo "baseline: building and running the unchanged tests"
if ! build_and_test; then
    echo "the unchanged sources do not pass; see $work/test.log" >&2
    cat "$work/build.log" "$work/test.log" | tail -20 >&2
    exit 1
fi

mutants >"$work/mutants"
report=$report_dir/report.txt
: >"$report"
killed=0 survived=0 stillborn=0 total=0
survivors=()
while IFS=$'\t' read -r id file line what text; do
    if [ -n "$ids" ] && ! [[ ",$ids," == *",$id,"* ]]; then
        continue
    fi
    if [ "$limit" -gt 0 ] && [ "$total" -ge "$limit" ]; then
        break
    fi
    original=$work/original
    cp "$work/src/$file" "$original"
    MUTANT_TEXT=$text python3 "$ROOT/scripts/mutants.py" apply "$work/src/$file" "$line"
    status=0
    build_and_test || status=$?
    cp "$original" "$work/src/$file"
    case $status in
    0) result=SURVIVED; survived=$((survived + 1)); survivors+=("$id $file:$line $what: $(echo "$text" | sed 's/^ *//')") ;;
    1) result=killed; killed=$((killed + 1)) ;;
    3) result="killed (too long)"; killed=$((killed + 1)) ;;
    *) result=stillborn; stillborn=$((stillborn + 1)) ;;
    esac
    [ $status = 2 ] || total=$((total + 1))
    printf '%s\t%s\t%s:%s\t%s\t%s\n' "$id" "$result" "$file" "$line" "$what" "$(echo "$text" | sed 's/^ *//')" | tee -a "$report"
done <"$work/mutants"
# The restored sources must build again for the next run's baseline.
build_and_test >/dev/null 2>&1 || true

{
    echo
    echo "mutants: $total compiled ($stillborn did not compile): $killed killed, $survived survived"
    for s in "${survivors[@]}"; do
        echo "survivor: $s"
    done
} | tee -a "$report"
