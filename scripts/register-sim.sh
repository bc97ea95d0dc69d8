#!/bin/sh
# Registers the simulated audio interface of the built tree in a Wine prefix
# (default: the build's own), so that the panel finds it:
#   register-sim.sh [PREFIX]
# The prefix's wine server is stopped afterwards: the next Wine program then
# starts it again on the display that program runs with.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
prefix="${1:-$build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
"$root/scripts/wine-run.sh" "$prefix" regsvr32 /s \
  "$(WINEPREFIX="$prefix" winepath -w "$build/bin/tusbaudioapi.dll")"
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
