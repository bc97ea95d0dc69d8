#!/bin/sh
# Screenshots of the mixer window against the simulated interface, on a
# private Xvfb: first with no device plugged (disconnected look), then after
# plugging it in (connected look). Writes
#   build/screenshots/mixer-disconnected.png
#   build/screenshots/mixer-connected.png
# cropped to the window (1138 x 555 with its shadow at 100 %).
#   screenshots.sh [DPI]
# A DPI other than 96 (for example 144: 150 %) is set in the build's Wine
# prefix for the run (and taken out afterwards); the files are then named
# with the scale, such as mixer-connected@150.png.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
export BUILD_DIR="$build"
"$root/scripts/build.sh" --target KorVaneControls tusbaudioapi simctl
out="$build/screenshots"
mkdir -p "$out"
"$root/scripts/register-sim.sh"
. "$root/scripts/display-scale.sh"

unset DISPLAY
"$root/scripts/with-display.sh" sh -c '
  root="$0"; build="$1"; out="$2"; suffix="$3"
  run() { "$root/scripts/wine-run.sh" "$build/wineprefix" "$@"; }
  shoot() {
    import -window root "$out/screen.png"
    geometry=$(xwininfo -name KorVaneControls |
      awk "/Absolute upper-left X/{x=\$4} /Absolute upper-left Y/{y=\$4}
           /Width/{w=\$2} /Height/{h=\$2} END{print w \"x\" h \"+\" x \"+\" y}")
    convert "$out/screen.png" -crop "$geometry" +repage "$out/$1$suffix.png"
    rm -f "$out/screen.png"
  }
  KVSIM_COMMANDS="plugged 0" run "$build/bin/KorVaneControls.exe" &
  panel=$!
  # Until the window is mapped, then a moment for its first frames.
  for i in $(seq 60); do
    xwininfo -name KorVaneControls >/dev/null 2>&1 && break
    sleep 0.5
  done
  sleep 2
  shoot mixer-disconnected
  run "$build/bin/simctl.exe" \
    "plug; volume in 1 -3584; volume out 3 -2560; mute out 1 1; mute out 2 1; gain 1 5; gain 2 7; invert 1" >/dev/null
  sleep 2
  shoot mixer-connected
  WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
  wait "$panel" 2>/dev/null || true' "$root" "$build" "$out" "$scale_suffix"
echo "Screenshots: $out/mixer-disconnected$scale_suffix.png $out/mixer-connected$scale_suffix.png"
