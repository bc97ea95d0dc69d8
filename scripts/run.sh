#!/bin/sh
# Builds everything and starts the control panel under Wine against the
# simulated audio interface. With an X display the panel opens there and this
# waits until it ends; without one it runs on a private Xvfb, saves a
# screenshot once the window is on screen, prints its path and stops again.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
export BUILD_DIR="$build"
export WINEDEBUG="${WINEDEBUG:--all}"

if [ -z "$KV_RUN_STAGE" ]; then
  "$root/scripts/build.sh"
  # Registration and the program must share one display: Wine's desktop
  # process starts with the first Wine call and stays on that display.
  if [ -z "$DISPLAY" ]; then
    KV_RUN_STAGE=private exec "$root/scripts/with-display.sh" "$0" "$@"
  fi
  KV_RUN_STAGE=shared exec "$0" "$@"
fi

prefix="$build/wineprefix"
program="$build/bin/KorVaneControls.exe"
run() { "$root/scripts/wine-run.sh" "$prefix" "$@"; }

# The panel finds the driver library through the registry.
if [ -f "$build/bin/tusbaudioapi.dll" ]; then
  run regsvr32 /s "$(WINEPREFIX="$prefix" winepath -w "$build/bin/tusbaudioapi.dll")"
fi

if [ "$KV_RUN_STAGE" = shared ]; then
  run "$program" "$@"
  exit $?
fi

shot="$build/screenshots/panel.png"
mkdir -p "$(dirname "$shot")"
rm -f "$shot"
run "$program" "$@" &
# Wait until something other than the empty black desktop is on screen, then
# give the window a moment to finish its first paint.
shown=""
for _ in $(seq 1 40); do
  sleep 0.5
  import -window root "$shot" 2>/dev/null || continue
  if [ "$(convert "$shot" -format '%[fx:maxima>0]' info:)" = 1 ]; then
    shown=1
    sleep 1.5
    import -window root "$shot"
    break
  fi
done
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
wait 2>/dev/null || true
if [ -z "$shown" ]; then
  echo "The control panel did not appear on the private display within 20 s." >&2
  exit 1
fi
echo "Screenshot of the control panel: $shot"
