#!/bin/sh
# A screenshot of the settings window over the connected mixer, against the
# simulated interface on a private Xvfb: the mixer's settings button is
# clicked with the real pointer, so the window opens where the cursor is.
# Writes build/screenshots/settings-over-mixer.png (the whole display),
# build/screenshots/settings.png (the settings window alone) and
# build/screenshots/settings-combo.png (with its buffer-size list open).
#   settings-screenshot.sh [DPI]
# As in screenshots.sh, another DPI than 96 names the files with the scale.
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
  root="$0"; build="$1"; out="$2"; suffix="$3"; dpi="$4"
  run() { "$root/scripts/wine-run.sh" "$build/wineprefix" "$@"; }
  geometry() {
    xwininfo -id "$1" | awk "/Absolute upper-left X/{x=\$4} /Absolute upper-left Y/{y=\$4}
      /Width/{w=\$2} /Height/{h=\$2} END{print w \" \" h \" \" x \" \" y}"
  }
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
  # The settings button is the second from the right of the 35-pixel
  # caption band, inside the 14-pixel shadow (all at 100 %).
  set -- $(geometry "$(xdotool search --name "^KorVaneControls$" | head -1)")
  scale=$((dpi * 100 / 96))
  xdotool mousemove $(($3 + $1 - 74 * scale / 100)) $(($4 + 31 * scale / 100)) click 1
  sleep 3
  import -window root "$out/settings-over-mixer$suffix.png"
  set -- $(geometry "$(xdotool search --name "^KorVaneAudioSetting$" | head -1)")
  crop="$1x$2+$3+$4"
  convert "$out/settings-over-mixer$suffix.png" -crop "$crop" +repage "$out/settings$suffix.png"
  # The ASIO buffer combo dropped down.
  xdotool mousemove $(($3 + 182 * scale / 100)) $(($4 + 105 * scale / 100)) click 1
  sleep 2
  import -window root "$out/screen.png"
  convert "$out/screen.png" -crop "$crop" +repage "$out/settings-combo$suffix.png"
  rm -f "$out/screen.png"
  WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
  wait "$panel" 2>/dev/null || true' "$root" "$build" "$out" "$scale_suffix" "$dpi"
echo "Screenshots: $out/settings-over-mixer$scale_suffix.png $out/settings$scale_suffix.png $out/settings-combo$scale_suffix.png"
