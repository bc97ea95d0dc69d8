#!/bin/sh
# Soak: the real program under Wine, connected to the simulated interface
# (registered with regsvr32 in the build's prefix), left idle and then
# dragged by fader_drag.exe, sampled every minute with procstat.exe; a bare
# layered-window program runs beside the idle phase as the baseline.
# SOAK_IDLE_MINUTES and SOAK_DRAG_MINUTES (default 10 each) set the phases.
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
prefix="$build/wineprefix"
idle="${SOAK_IDLE_MINUTES:-10}"
drag="${SOAK_DRAG_MINUTES:-10}"

if [ -z "${DISPLAY:-}" ]; then
  exec "$root/scripts/with-display.sh" "$0" "$@"
fi
BUILD_DIR="$build" "$root/scripts/build.sh" --target KorVaneControls tusbaudioapi simctl \
  procstat fader_drag bare_window wineprefix >&2 || exit 1
export WINEDEBUG=-all
WINEPREFIX="$prefix" wineserver -k 2>/dev/null
run() { "$root/scripts/wine-run.sh" "$prefix" "$@"; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

tick=$(getconf CLK_TCK)
# "TIME_MS HANDLES PRIVATE_KB CPU_MS UNIX_CPU_MS" of the first process of
# that name, or nothing when none runs. The processor time is read twice:
# as Windows reports it (procstat) and from the Linux process behind it,
# which also keeps the time of threads that have ended.
sample() {
  line="$(run "$build/bin/procstat.exe" "$1" 2>/dev/null | tr -d '\r' | head -n 1)"
  [ -n "$line" ] || return 1
  # Other prefixes may run a program of the same name: take the one of ours.
  unix_pid=""
  for candidate in $(pgrep "^$(echo "$1" | cut -c1-15)"); do
    if tr '\0' '\n' <"/proc/$candidate/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix"; then
      unix_pid="$candidate"
      break
    fi
  done
  unix_ms="$(awk -v t="$tick" '{ print ($14 + $15) * 1000 / t }' "/proc/$unix_pid/stat" 2>/dev/null)"
  echo "$(date +%s%3N) $(echo "$line" | sed 's/[a-z_]*=//g' | cut -d' ' -f2-4) ${unix_ms:--}"
}

run regsvr32 /s "$(WINEPREFIX="$prefix" winepath -w "$build/bin/tusbaudioapi.dll")"
. "$root/scripts/campaign/panel.sh"
connected=""
start_connected_panel && connected=1
if [ -z "$connected" ]; then
  echo "## Soak"
  echo
  echo "The program did not connect to the simulated interface within 60 s."
  echo
  echo "Verdict: FAIL"
  exit 1
fi
# The pointer rests away from the window, as it would while the panel idles.
xdotool mousemove 0 0 2>/dev/null
sleep 10
echo "soak: connected, idle for $idle min" >&2

run "$build/bin/bare_window.exe" $((idle * 60 + 90)) </dev/null >/dev/null 2>&1 &
sleep 10
: >"$work/rows"
failed=""
minute=0
while [ "$minute" -le "$idle" ]; do
  p="$(sample KorVaneControls.exe)" || { failed="the program ended while idle"; break; }
  b="$(sample bare_window.exe)" || b="- - - - -"
  echo "idle $minute $p $b" >>"$work/rows"
  echo "soak: idle minute $minute: $p / bare $b" >&2
  minute=$((minute + 1))
  [ "$minute" -le "$idle" ] && sleep 60
done

if [ -z "$failed" ]; then
  echo "soak: dragging for $drag min" >&2
  run "$build/bin/fader_drag.exe" $((drag * 60)) 17 >"$work/drag.out" 2>"$work/drag.err" &
  drag_pid=$!
  # The helper lays out its own copy of the skin before it starts dragging.
  sleep 15
  minute=0
  while [ "$minute" -le "$drag" ]; do
    p="$(sample KorVaneControls.exe)" || { failed="the program ended during the drags"; break; }
    echo "drag $minute $p - - - - -" >>"$work/rows"
    echo "soak: drag minute $minute: $p" >&2
    minute=$((minute + 1))
    [ "$minute" -le "$drag" ] && sleep 60
  done
  wait "$drag_pid"
fi
dragged="$(tr -d '\r' <"$work/drag.out" 2>/dev/null)"
run "$build/bin/KorVaneControls.exe" -exitall </dev/null >/dev/null 2>&1
WINEPREFIX="$prefix" wineserver -k 2>/dev/null

echo "## Soak"
echo
echo "The real \`KorVaneControls.exe\` runs under Wine on a private X display, connected to the"
echo "simulated interface registered in the prefix with regsvr32: first $idle minutes idle with"
echo "the pointer away from the window, then $drag minutes of continuous fader drags posted to its"
echo "window as mouse messages by a helper program (\`fader_drag.exe\`: grab the thumb, four moves,"
echo "release, about 20 drags a second). \`procstat.exe\` samples the process every minute. A bare"
echo "program showing one layered GDI+ window of the mixer's size runs beside the idle phase under"
echo "the same Wine, as the baseline: its memory is what any such window costs under this Wine."
echo
echo "| phase | minute | handles | private KB | CPU in the minute, % of one core (Windows / Linux) | bare window: private KB | bare window: CPU % (Windows / Linux) |"
echo "|---|---|---|---|---|---|---|"
awk '
  function share(cpu, ms, pc, pms) { return (pms == "" || ms == pms) ? "-" : sprintf("%.3f", 100 * (cpu - pc) / (ms - pms)) }
  {
    cpu = share($6, $3, pcpu[$1], pms[$1]) " / " share($7, $3, pucpu[$1], pms[$1])
    bcpu = ($8 == "-") ? "-" : share($11, $8, bpcpu, bpms) " / " share($12, $8, bpucpu, bpms)
    print "| " $1 " | " $2 " | " $4 " | " $5 " | " cpu " | " $10 " | " bcpu " |"
    pcpu[$1] = $6; pucpu[$1] = $7; pms[$1] = $3; bpcpu = $11; bpucpu = $12; bpms = $8
  }' "$work/rows"
echo
summary="$(awk '
  $1 == "idle" && $2 == 0 { is = $3; ic = $6; iu = $7; im0 = $5; bs = $8; bc = $11; bu = $12; bm0 = $10 }
  $1 == "idle" { ie = $3; iec = $6; ieu = $7; im1 = $5; be = $8; bec = $11; beu = $12; bm1 = $10 }
  $1 == "drag" && $2 == 0 { dm0 = $5 }
  $1 == "drag" { dm1 = $5 }
  END {
    span = ie - is; bspan = be - bs
    c = -1; u = -1; bc2 = -1; bu2 = -1
    if (span > 0) { c = 100 * (iec - ic) / span; u = 100 * (ieu - iu) / span }
    if (bspan > 0) { bc2 = 100 * (bec - bc) / bspan; bu2 = 100 * (beu - bu) / bspan }
    printf "%.3f %.3f %.3f %.3f %d %d %d %d %d %d\n", c, u, bc2, bu2, im0, im1, bm0, bm1, dm0, dm1
  }' "$work/rows")"
set -- $summary
cpu="$1" ucpu="$2" bcpu="$3" bucpu="$4" im0="$5" im1="$6" bm0="$7" bm1="$8" dm0="$9" dm1="${10}"
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a - b }'; }
echo "| figure | KorVaneControls.exe | bare window | panel minus bare |"
echo "|---|---|---|---|"
echo "| CPU over the idle phase, % of one core (Windows figure) | $cpu | $bcpu | $(minus "$cpu" "$bcpu") |"
echo "| CPU over the idle phase, % of one core (Linux process) | $ucpu | $bucpu | $(minus "$ucpu" "$bucpu") |"
echo "| private memory, start of idle, MB | $(mb "$im0") | $(mb "$bm0") | $(mb $((im0 - bm0))) |"
echo "| private memory, end of idle, MB | $(mb "$im1") | $(mb "$bm1") | $(mb $((im1 - bm1))) |"
echo "| private memory, start of drags, MB | $(mb "$dm0") | - | - |"
echo "| private memory, end of drags, MB | $(mb "$dm1") | - | - |"
echo
echo "Drag helper: ${dragged:-no report}."
echo
# The Linux figure counts every thread that ever ran; the goal is judged on
# the larger of the two.
cpu_ok=$(awk -v c="$cpu" -v u="$ucpu" 'BEGIN { m = (c > u) ? c : u; print (c >= 0 && m < 0.2) ? "yes" : "no" }')
mem_ok=$(awk -v m="$im1" 'BEGIN { print (m > 0 && m < 15 * 1024) ? "yes" : "no" }')
# Flat: under 512 KB more at the end of a phase than at its start.
flat_ok=$(awk -v a="$im0" -v b="$im1" -v c="$dm0" -v d="$dm1" \
  'BEGIN { print (b - a < 512 && d - c < 512) ? "yes" : "no" }')
echo "Goals: idle CPU under 0.2 % of one core: $cpu_ok; private memory connected under 15 MB: $mem_ok;"
echo "flat over the soak (under 512 KB growth in each phase): $flat_ok."
echo
if [ -n "$failed" ]; then
  echo "Failure: $failed."
  echo
fi
case "$dragged" in
  *matched=*) drag_ok=$(echo "$dragged" | awk -F'[= ]' '{ print ($4 == $6) ? "yes" : "no" }') ;;
  *) drag_ok=no ;;
esac
if [ -z "$failed" ] && [ "$cpu_ok" = yes ] && [ "$mem_ok" = yes ] && [ "$flat_ok" = yes ] &&
   [ "$drag_ok" = yes ]; then
  echo "Verdict: PASS"
else
  echo "Verdict: FAIL"
  exit 1
fi
