#!/bin/sh
# Plug storm: the mixer (the program's UI thread run in-process by
# plug_storm.exe against the simulated interface) through 500 unplug/replug
# cycles while faders are dragged, the settings window comes and goes and
# volumes and mutes change from outside. PLUG_STORM_CYCLES and
# PLUG_STORM_SEED override the count and the random seed.
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
cycles="${PLUG_STORM_CYCLES:-500}"
seed="${PLUG_STORM_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}"
prefix="${CAMPAIGN_WINEPREFIX:-$build/wineprefix}"

if [ -z "${DISPLAY:-}" ]; then
  exec "$root/scripts/with-display.sh" "$0" "$@"
fi
BUILD_DIR="$build" "$root/scripts/build.sh" --target plug_storm wineprefix >&2 || exit 1
# Wine's desktop process keeps the display of the first call: start afresh.
WINEPREFIX="$prefix" wineserver -k 2>/dev/null
echo "plug-storm: $cycles cycles, seed $seed" >&2

out="$(mktemp)"
status=0
nice "$root/scripts/wine-run.sh" "$prefix" "$build/bin/plug_storm.exe" "$cycles" "$seed" \
  >"$out" || status=$?
WINEPREFIX="$prefix" wineserver -k 2>/dev/null

echo "## Plug storm"
echo
echo "The mixer window runs in one process with the simulated interface (the program's own UI"
echo "thread, skin and device code), which is unplugged and plugged again $cycles times at random"
echo "intervals of 0-300 ms (seed $seed). Meanwhile one thread posts fader drags (mouse messages)"
echo "and now and then opens and closes the settings window, another changes volumes and mutes"
echo "through the simulator's control pipe as fast as it answers, and a watchdog sends the window"
echo "a message every 250 ms. Each poll of the device-volume block is timed at the driver call;"
echo "handles and private memory are read after every replug; at the end every control is compared"
echo "with the simulator's \`state\`."
echo
tr -d '\r' <"$out"
if ! grep -q '^Verdict:' "$out"; then
  echo "The harness ended without its report (exit status $status): it crashed."
  echo
  echo "Verdict: FAIL"
  [ "$status" -ne 0 ] || status=1
fi
rm -f "$out"
exit "$status"
