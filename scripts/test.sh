#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test headless through CTest.
set -euo pipefail
source "$(dirname "$0")/lib/test-build.sh"

with_display ctest --test-dir "$BUILD" --output-on-failure --parallel "$(nproc)" --timeout 600
