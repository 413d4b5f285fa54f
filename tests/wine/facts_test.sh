#!/usr/bin/env bash
# The platform facts (tests/facts/) of one build, under Wine in a fresh prefix:
#   tests/wine/facts_test.sh [win32|win64]
source "$(dirname "$0")/lib/load.sh" "$@"
start_display
new_prefix
check "the platform facts of the $ARCH build" run_facts
finish
