# Sourced by test.sh and stress.sh: installs what is missing, builds
# everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# $BUILD, and sets the environment the tests run in. Sets ROOT and BUILD.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${ORLO_TEST_BUILD:-$ROOT/build-test}"

bash "$ROOT/scripts/install-deps.sh"

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORLO_SANITIZE=ON \
      -DORLO_BUILD_TESTS=ON -DORLO_BUILD_BENCHMARKS=ON
cmake --build "$BUILD" --parallel "$(nproc)"

export TZ=UTC
# Qt and Mesa keep process-lifetime allocations; leak reports would only be noise.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=0:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
export QT_QPA_PLATFORM=xcb

# with_display <command>...: runs the command with an X server for the
# widget tests' OpenGL, starting one when there is none.
with_display() {
  if [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1600x1200x24" "$@"
  else
    "$@"
  fi
}
