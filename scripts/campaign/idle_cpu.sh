#!/bin/sh
# Idle processor time of the real program, seen from Linux: the panel
# connected to the simulated interface and left alone (pointer away from
# its window), then the bare layered-window program alone, each for
# SECONDS; for both, what the Wine server of the prefix spends meanwhile
# (it also serves the prefix's own processes, which run in both periods).
# Prints "figure|name|value|baseline|unit" lines like the benchmarks.
#   idle_cpu.sh [SECONDS]     (default 60; needs DISPLAY and a built tree)
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
prefix="$build/wineprefix"
seconds="${1:-60}"
export WINEDEBUG=-all
run() { "$root/scripts/wine-run.sh" "$prefix" "$@"; }
tick=$(getconf CLK_TCK)

# The Linux process of this prefix whose command starts with NAME.
pid_of() {
  for candidate in $(pgrep -f "$1"); do
    if tr '\0' '\n' <"/proc/$candidate/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix"; then
      echo "$candidate"
      return 0
    fi
  done
  return 1
}
# Processor milliseconds of a Linux process: the scheduler's exact run time
# of each of its threads where the kernel keeps it, otherwise user + system
# time in clock ticks (sampled, so a few milliseconds a second are noisy).
cpu_ms() {
  if [ -r "/proc/$1/schedstat" ]; then
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { print ns / 1e6 }'
  else
    awk -v t="$tick" '{ print ($14 + $15) * 1000 / t }' "/proc/$1/stat"
  fi
}
now_ms() { date +%s%3N; }
# share PID_A PID_B: the two processes' CPU over `seconds`, in % of one core.
share() {
  a0=$(cpu_ms "$1"); b0=$(cpu_ms "$2"); t0=$(now_ms)
  sleep "$seconds"
  a1=$(cpu_ms "$1"); b1=$(cpu_ms "$2"); t1=$(now_ms)
  awk -v a0="$a0" -v a1="$a1" -v b0="$b0" -v b1="$b1" -v t0="$t0" -v t1="$t1" \
    'BEGIN { printf "%.4f %.4f\n", 100 * (a1 - a0) / (t1 - t0), 100 * (b1 - b0) / (t1 - t0) }'
}

"$root/scripts/register-sim.sh" "$prefix" >/dev/null 2>&1
. "$root/scripts/campaign/panel.sh"
start_connected_panel || { echo "idle_cpu: the panel did not connect" >&2; exit 1; }
xdotool mousemove 0 0 2>/dev/null
sleep 10
panel=$(pid_of KorVaneControls.exe) || { echo "idle_cpu: no panel process" >&2; exit 1; }
server=$(pid_of wineserver) || { echo "idle_cpu: no wine server" >&2; exit 1; }
set -- $(share "$panel" "$server")
panelCpu=$1 panelServer=$2
run "$build/bin/KorVaneControls.exe" -exitall </dev/null >/dev/null 2>&1

run "$build/bin/bare_window.exe" $((seconds + 20)) </dev/null >/dev/null 2>&1 &
sleep 10
bare=$(pid_of bare_window.exe) || { echo "idle_cpu: no bare window process" >&2; exit 1; }
set -- $(share "$bare" "$server")
bareCpu=$1 bareServer=$2
wait

echo "idle over $seconds s, % of one core: panel connected $panelCpu (Wine server meanwhile" \
     "$panelServer), bare window $bareCpu (Wine server meanwhile $bareServer)"
echo "figure|idle CPU connected, panel process (Linux)|$panelCpu|$bareCpu|% of one core"
echo "figure|idle CPU connected, Wine server meanwhile|$panelServer|$bareServer|% of one core"
