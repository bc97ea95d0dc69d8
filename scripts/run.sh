#!/bin/sh
# Builds everything and starts the control panel under Wine against the
# simulated audio interface. With an X display the panel opens there and this
# waits until it ends; without one it runs on a private Xvfb, saves a
# screenshot, prints its path and stops again.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
export BUILD_DIR="$build"
"$root/scripts/build.sh"
prefix="$build/wineprefix"
program="$build/bin/KorVaneControls.exe"
run() { "$root/scripts/wine-run.sh" "$prefix" "$@"; }

# The panel finds the driver library through the registry.
if [ -f "$build/bin/tusbaudioapi.dll" ]; then
  run regsvr32 /s "$(WINEPREFIX="$prefix" winepath -w "$build/bin/tusbaudioapi.dll")"
fi

if [ -n "$DISPLAY" ]; then
  run "$program" "$@"
  exit $?
fi

shot="$build/screenshots/panel.png"
mkdir -p "$(dirname "$shot")"
"$root/scripts/with-display.sh" sh -c '
  "$0/scripts/wine-run.sh" "$1/wineprefix" "$1/bin/KorVaneControls.exe" &
  sleep 6
  import -window root "$2"
  WINEPREFIX="$1/wineprefix" wineserver -k 2>/dev/null
  wait' "$root" "$build" "$shot"
echo "Screenshot of the control panel: $shot"
