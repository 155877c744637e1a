#!/usr/bin/env bash
# Installs what is missing, builds the application and starts it in a demo
# home folder of its own, so the user's real settings are never touched.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${ORLO_BUILD:-$ROOT/build}"

bash "$ROOT/scripts/install-deps.sh"

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORLO_BUILD_TESTS=OFF \
      -DORLO_BUILD_BENCHMARKS=OFF
cmake --build "$BUILD" --parallel "$(nproc)"

DEMO_HOME="$BUILD/demo-home"
mkdir -p "$DEMO_HOME"

cd "$BUILD"
if [ -z "${DISPLAY:-}" ]; then
  echo "No DISPLAY: starting under a virtual X server." >&2
  exec env HOME="$DEMO_HOME" xvfb-run -a ./orlo.app/Contents/MacOS/orlo "$@"
fi
exec env HOME="$DEMO_HOME" ./orlo.app/Contents/MacOS/orlo "$@"
