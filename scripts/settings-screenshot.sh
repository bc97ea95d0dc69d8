#!/bin/sh
# A screenshot of the settings window over the connected mixer, against the
# simulated interface on a private Xvfb: the mixer's settings button is
# clicked with the real pointer, so the window opens where the cursor is.
# Writes build/screenshots/settings-over-mixer.png (the whole 1600 x 1000
# display), build/screenshots/settings.png (the settings window alone) and
# build/screenshots/settings-combo.png (with its buffer-size list open).
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
export BUILD_DIR="$build"
"$root/scripts/build.sh" --target KorVaneControls tusbaudioapi simctl
out="$build/screenshots"
mkdir -p "$out"
"$root/scripts/register-sim.sh"

unset DISPLAY
"$root/scripts/with-display.sh" sh -c '
  root="$0"; build="$1"; out="$2"
  run() { "$root/scripts/wine-run.sh" "$build/wineprefix" "$@"; }
  KVSIM_COMMANDS="plugged 1; asio latency 256 256; driverinfo 5 12 0 0" \
    run "$build/bin/KorVaneControls.exe" &
  panel=$!
  # Up to 60 s for the mixer window to appear, then time to draw it.
  tries=0
  until xdotool search --name "^KorVaneControls$" >/dev/null 2>&1 || [ $tries -ge 60 ]; do
    sleep 1; tries=$((tries + 1))
  done
  echo "mixer window after ${tries} s"
  sleep 3
  # The mixer (1138 x 555 with its shadow) is centred on the display; its
  # settings button is the second from the right of the 35-pixel caption.
  xdotool mousemove 1295 253 click 1
  sleep 3
  import -window root "$out/settings-over-mixer.png"
  # The settings window opens at the cursor: 240 x 500 inside its shadow.
  convert "$out/settings-over-mixer.png" -crop 268x528+1295+253 +repage "$out/settings.png"
  # The ASIO buffer combo dropped down.
  xdotool mousemove 1477 358 click 1
  sleep 2
  import -window root "$out/screen.png"
  convert "$out/screen.png" -crop 268x528+1295+253 +repage "$out/settings-combo.png"
  rm -f "$out/screen.png"
  WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
  wait "$panel" 2>/dev/null || true' "$root" "$build" "$out"
echo "Screenshots: $out/settings-over-mixer.png $out/settings.png $out/settings-combo.png"
