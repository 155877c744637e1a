#!/usr/bin/env bash
# Builds the test build as test.sh does and runs every test labelled "timing"
# (those that watch a thread, a timer or the clock) many times side by side,
# at twice as many at once as there are cores, with the allocation-failure
# sweep running beside them. Prints runs and failures per test; exits
# non-zero on any failure. Arguments go to stress.py (--runs, --jobs, -R).
set -euo pipefail
source "$(dirname "$0")/lib/test-build.sh"

with_display python3 "$ROOT/scripts/stress.py" "$BUILD" "$@"
