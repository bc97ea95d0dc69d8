#!/bin/sh
# Screenshots of the keyboard focus ring in the connected mixer, against the
# simulated interface on a private Xvfb: Tab is pressed on the real
# keyboard (xdotool) until the MIC1 fader has the focus, then once more for
# its mute box. Writes build/screenshots/focus-fader.png and
# build/screenshots/focus-mute.png (the first three input strips).
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
  KVSIM_COMMANDS="plugged 1; volume in 1 -3584; volume in 3 -2560; volume in 4 -2560" \
    run "$build/bin/KorVaneControls.exe" &
  panel=$!
  tries=0
  until xdotool search --name "^KorVaneControls$" >/dev/null 2>&1 || [ $tries -ge 60 ]; do
    sleep 1; tries=$((tries + 1))
  done
  sleep 3
  window=$(xdotool search --name "^KorVaneControls$" | head -n 1)
  xdotool windowfocus --sync "$window"
  # settings, hide, Master fader, Master mute, MIC1 fader.
  xdotool key --delay 150 Tab Tab Tab Tab Tab
  sleep 1
  # The window (with its 14-pixel shadow) and, inside it, the first strips.
  origin=$(xwininfo -id "$window" |
    awk "/Absolute upper-left X/{x=\$4} /Absolute upper-left Y/{y=\$4} END{print x \" \" y}")
  crop() {
    import -window root "$out/screen.png"
    set -- $origin "$1"
    convert "$out/screen.png" -crop "204x440+$(($1 + 34))+$(($2 + 50))" +repage "$out/$3"
    rm -f "$out/screen.png"
  }
  crop focus-fader.png
  xdotool key Tab
  sleep 1
  crop focus-mute.png
  WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
  wait "$panel" 2>/dev/null || true' "$root" "$build" "$out"
echo "Screenshots: $out/focus-fader.png $out/focus-mute.png"
