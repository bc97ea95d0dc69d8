#!/bin/sh
# Builds everything and runs every test, native and under Wine. Extra
# arguments go to ctest (for example: -R MarkupDocument).
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
export BUILD_DIR="$build"
"$root/scripts/deps.sh"
"$root/scripts/check-format.sh"
"$root/scripts/build.sh"
# The wine server of the prefix is stopped before the display goes away.
# A failed test runs once more: window tests under Wine depend on a display
# server's asynchronous events, and a fault that repeats still fails the run
# (the first failure stays in the output).
exec "$root/scripts/with-display.sh" sh -c '
  ctest --test-dir "$0" --output-on-failure -j2 --repeat until-pass:2 "$@"
  status=$?
  WINEPREFIX="$0/wineprefix" wineserver -k 2>/dev/null
  exit $status' "$build" "$@"
