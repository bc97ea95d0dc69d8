#!/bin/sh
# Builds everything and runs every test, native and under Wine. Extra
# arguments go to ctest (for example: -R MarkupDocument). Ends with the
# wall-clock time of each phase.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
export BUILD_DIR="$build"
phases=""
# phase NAME COMMAND...: runs the command and notes its wall-clock time.
phase() {
  name="$1"
  shift
  start=$(date +%s)
  "$@"
  result=$?
  phases="$phases$(printf '%-10s %5d s' "$name" $(($(date +%s) - start)))
"
  return $result
}
phase packages "$root/scripts/deps.sh"
phase format "$root/scripts/check-format.sh"
phase build "$root/scripts/build.sh"
# Two private displays, so that two window tests can run at once. The wine
# servers of the prefixes are stopped before the displays go away.
# A failed test runs once more: window tests under Wine depend on a display
# server's asynchronous events, and a fault that repeats still fails the run
# (the first failure stays in the output).
set +e
phase tests env KV_DISPLAYS=2 "$root/scripts/with-display.sh" sh -c '
  ctest --test-dir "$0" --output-on-failure -j2 --repeat until-pass:2 "$@"
  status=$?
  for prefix in "$0/wineprefix" "$0/wineprefix2"; do
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  done
  exit $status' "$build" "$@"
status=$?
printf '\nTime of each phase:\n%s' "$phases"
exit $status
