#!/bin/sh
# Screenshots of the mixer window against the simulated interface, on a
# private Xvfb: first with no device plugged (disconnected look), then after
# plugging it in (connected look), then with its scene menu open (two scenes
# in the recent list of the prefix's user), then with the keyboard focus on
# the MIC1 fader and on its mute box (Tab pressed on the real keyboard). Writes
#   build/screenshots/mixer-disconnected.png
#   build/screenshots/mixer-connected.png
# cropped to the window (1138 x 555 with its shadow at 100 %),
#   build/screenshots/scene-menu.png
# cropped to the menu's corner of it, and
#   build/screenshots/focus-fader.png
#   build/screenshots/focus-mute.png
# cropped to the first three input strips.
#   screenshots.sh [DPI]
# A DPI other than 96 (for example 144: 150 %) is set in the build's Wine
# prefix for the run (and taken out afterwards); the files are then named
# with the scale, such as mixer-connected@150.png.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
export BUILD_DIR="$build"
"$root/scripts/build.sh" --target KorVaneControls tusbaudioapi simctl kvctl
out="$build/screenshots"
mkdir -p "$out"
"$root/scripts/register-sim.sh"
appdata="$build/wineprefix/drive_c/users/$(id -un)/AppData/Roaming/KorVane Controls"
mkdir -p "$appdata/Scenes"
recent=""
for scene in "Podcast" "Tracking"; do
  "$root/scripts/wine-run.sh" "$build/wineprefix" "$build/bin/kvctl.exe" save \
    "C:\\users\\$(id -un)\\AppData\\Roaming\\KorVane Controls\\Scenes\\$scene.kvscene" >/dev/null
  recent="${recent}C:\\users\\$(id -un)\\AppData\\Roaming\\KorVane Controls\\Scenes\\$scene.kvscene
"
done
printf "%s" "$recent" > "$appdata/recent-scenes.txt"
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
. "$root/scripts/display-scale.sh"

unset DISPLAY
"$root/scripts/with-display.sh" sh -c '
  root="$0"; build="$1"; out="$2"; suffix="$3"; dpi="$4"
  run() { "$root/scripts/wine-run.sh" "$build/wineprefix" "$@"; }
  # A length in the window at 100 %, in pixels at the run'"'"'s scale.
  px() { echo $(($1 * dpi / 96)); }
  # shoot NAME [WIDTH HEIGHT X Y inside the window, at 100 %]
  shoot() {
    import -window root "$out/screen.png"
    geometry=$(xwininfo -name KorVaneControls |
      awk -v w0="$(px ${2:-0})" -v h0="$(px ${3:-0})" -v x0="$(px ${4:-0})" -v y0="$(px ${5:-0})" \
        "/Absolute upper-left X/{x=\$4} /Absolute upper-left Y/{y=\$4}
         /Width/{w=\$2} /Height/{h=\$2}
         END{if (w0 == 0) print w \"x\" h \"+\" x \"+\" y;
             else print w0 \"x\" h0 \"+\" x + x0 \"+\" y + y0}")
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
  # The scene button is the third from the right of the 35-pixel caption.
  eval "$(xwininfo -name KorVaneControls |
    awk "/Absolute upper-left X/{print \"x=\" \$4} /Absolute upper-left Y/{print \"y=\" \$4}")"
  xdotool mousemove $((x + $(px 1024))) $((y + $(px 30))) click 1
  sleep 1
  xdotool mousemove 5 990 # away from the menu and the button tip
  sleep 2
  shoot scene-menu 680 330 578 14
  # Without a window manager the keys go to the window under the pointer:
  # back over the title in the caption, where hovering shows nothing.
  xdotool mousemove $((x + $(px 400))) $((y + $(px 18)))
  sleep 0.5
  xdotool key Escape
  sleep 1
  # From the scene button: settings, hide, Master fader, Master mute, MIC1
  # fader; then its mute box.
  xdotool search --name "^KorVaneControls\$" windowfocus --sync
  for tab in 1 2 3 4 5; do
    xdotool key Tab
    sleep 0.3
  done
  sleep 1
  shoot focus-fader 204 440 30 50
  xdotool key Tab
  sleep 1
  shoot focus-mute 204 440 30 50
  WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
  wait "$panel" 2>/dev/null || true' "$root" "$build" "$out" "$scale_suffix" "$dpi"
for name in mixer-disconnected mixer-connected scene-menu focus-fader focus-mute; do
  echo "$out/$name$scale_suffix.png"
done
