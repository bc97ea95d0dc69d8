#!/bin/sh
# Campaign "faults": every driver entry point the program calls, failing and
# slow, at each step of its life (tests/campaign/FaultInjection.cpp). One
# process per step, so that a crash loses only the step it happened in.
# Prints one Markdown section; ends non-zero when a run failed.
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
if [ -z "${DISPLAY:-}" ]; then
  exec "$root/scripts/with-display.sh" "$0" "$@"
fi
"$root/scripts/build.sh" --target fault_injection KorVaneControls tusbaudioapi simctl >&2 || exit 1
steps="${FAULT_STEPS:-binding startup connect refresh notification mixer poll settings-open settings-refresh settings-apply exit}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

status=0
: >"$work/rows"
start=$(date +%s)
for step in $steps; do
  echo "faults: step $step" >&2
  nice "$root/scripts/wine-run.sh" "$build/wineprefix" "$build/bin/fault_injection.exe" "$step" \
    >"$work/out" 2>"$work/err"
  code=$?
  tr -d '\r' <"$work/out" | grep '^| TUSBAUDIO\|^| (' >>"$work/rows"
  tr -d '\r' <"$work/err" | grep '^step\|^run:\|hung' >&2
  if [ "$code" -ne 0 ]; then
    status=1
    if [ "$code" -ne 1 ]; then
      last="$(tr -d '\r' <"$work/err" | grep '^run:' | tail -n 1)"
      echo "| (ended with code $code) | $step | during: ${last#run: } | |" >>"$work/rows"
    fi
  fi
done

# The whole program, ended while its monitor thread is stuck in a driver call
# that does not return for 10 minutes: "-exitall" must see it gone.
echo "faults: exit with the monitor stuck in the driver" >&2
run() { "$root/scripts/wine-run.sh" "$build/wineprefix" "$@"; }
run regsvr32 /s "$(WINEPREFIX="$build/wineprefix" winepath -w "$build/bin/tusbaudioapi.dll")"
pipe='\\.\pipe\KvFaultsStuckExit'
KVSIM_COMMANDS="pipe $pipe;delay TUSBAUDIO_ReadDeviceNotification 600000 1" \
  run "$build/bin/KorVaneControls.exe" >/dev/null 2>&1 &
panel=$!
stuck=""
for _ in $(seq 1 40); do
  sleep 0.5
  if run "$build/bin/simctl.exe" -p "$pipe" notify 3 >/dev/null 2>&1; then
    stuck=1
    break
  fi
done
sleep 1
exit_start=$(date +%s%N)
run "$build/bin/KorVaneControls.exe" -exitall >/dev/null 2>&1
exitall=$?
exit_ms=$(( ($(date +%s%N) - exit_start) / 1000000 ))
gone=""
for _ in $(seq 1 20); do
  if ! kill -0 "$panel" 2>/dev/null; then gone=1; break; fi
  sleep 0.5
done
if [ -n "$stuck" ] && [ "$exitall" -eq 0 ] && [ -n "$gone" ]; then
  stuck_row="| TUSBAUDIO_ReadDeviceNotification | exit of the program, monitor held 600 s | | pass; -exitall saw the program gone after $exit_ms ms |"
else
  stuck_row="| TUSBAUDIO_ReadDeviceNotification | exit of the program, monitor held 600 s | | **FAIL**; monitor stuck: ${stuck:-no}, -exitall code $exitall after $exit_ms ms, program ended: ${gone:-no} |"
  status=1
  kill "$panel" 2>/dev/null
fi
echo "$stuck_row" >>"$work/rows"
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null
elapsed=$(( $(date +%s) - start ))

# An event left behind is shown with its creator's stack as "module+0xRVA"
# words; those of the program's own files are named by their debug lines.
for word in $(grep -o '[A-Za-z0-9_]*\.\(exe\|dll\)+0x[0-9a-f]*' "$work/rows" | sort -u); do
  file="$build/bin/${word%%+*}"
  [ -f "$file" ] || continue
  base=$(x86_64-w64-mingw32-objdump -p "$file" | awk '/^ImageBase/ { print "0x" $2 }')
  # A return address is the instruction after the call.
  lines=$(x86_64-w64-mingw32-addr2line -f -C -s -e "$file" \
          "$(printf '0x%x' $((base + ${word#*+} - 1)))")
  name="$(echo "$lines" | sed -n '1{s/(.*//;p}') ($(echo "$lines" | sed -n '2{s/ .*//;p}'))"
  sed -i "s/$word\b/$name/g" "$work/rows"
done

pairs=$(grep '^| TUSBAUDIO' "$work/rows" | grep -vc 'exit of the program')
runs=$((pairs * 2 + 1))
failed_fail=$(awk -F'|' '/^\| TUSBAUDIO/ && $4 ~ /FAIL/' "$work/rows" | wc -l)
failed_slow=$(awk -F'|' '/^\| TUSBAUDIO/ && $5 ~ /FAIL/' "$work/rows" | wc -l)
other=$(grep -c '^| (' "$work/rows")

echo "## Fault injection"
echo
echo "Each driver entry point that a step of the program calls (found in the simulator's"
echo "journal of a clean run of that step) was made to fail with status 0xEE000050 for the"
echo "whole step, and, in a second run, to take 1500 ms once (longer than the monitor's 1000 ms"
echo "stop wait, the 1000 ms audio-control time-out and the 200 ms poll). Every run had a fresh"
echo "simulator state and main window; it passes when nothing crashed, the shown window answered"
echo "WM_NULL within 2 s throughout (SendMessageTimeout from another thread), the process held no"
echo "more kernel handles after the window was gone than before, the exit took under 4 s, and"
echo "every control was in the state the failure handling gives it (connected or disconnected"
echo "look throughout, faders at the device's values unless reading them was the fault, settings"
echo "window only while connected). Steps: binding (a second entry table over the loaded"
echo "library), startup, connect (hidden window shown), refresh (device changes re-read), notification"
echo "(raw notifications of every category), mixer (user changes), poll (unplug, replug, polls),"
echo "settings-open, settings-refresh, settings-apply, exit. The last row is the whole program"
echo "(KorVaneControls.exe) ended with \"-exitall\" while its monitor thread was held in a driver"
echo "call for 600 s. An event left behind is shown with the call stack that created it"
echo "(recorded by redirecting the program's and the simulator's imports of CreateEvent), the"
echo "program's own frames named by their source lines."
echo
echo "| entry | step | fails (always) | slow (1500 ms, once) |"
echo "|---|---|---|---|"
cat "$work/rows"
echo
echo "Totals: $runs runs in $elapsed s; $failed_fail failed with a failing entry, $failed_slow with a slow one; $other other findings."
echo
if [ "$status" -eq 0 ]; then
  echo "Verdict: passed, every run."
else
  echo "Verdict: FAILED (see the rows marked FAIL)."
fi
exit $status
