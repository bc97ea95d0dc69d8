#!/bin/sh
# Performance table: every benchmark program of bench/ in one run (Windows
# ones under Wine with a display, native ones natively), each figure as a
# ratio against the baseline the same program measured in the same run.
# Benchmarks print their figures as "figure|name|value|baseline|unit" lines.
#   PERF_IDLE_SECONDS  idle period of mainform_bench and of idle_cpu.sh (60)
# Prints one Markdown section; ends non-zero when a benchmark failed.
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
if [ -z "${DISPLAY:-}" ]; then
  exec "$root/scripts/with-display.sh" "$0" "$@"
fi
idle="${PERF_IDLE_SECONDS:-60}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

loadBefore=$(cut -d' ' -f1-3 /proc/loadavg)
failed=""
: >"$work/rows"
# run NAME COMMAND...: runs one benchmark and adds its figures to the table.
run() {
  name=$1
  shift
  echo "perf: $name ($(date -u +%H:%M:%S))" >&2
  start=$(date +%s)
  "$@" >"$work/$name.out" 2>"$work/$name.err"
  status=$?
  seconds=$(( $(date +%s) - start ))
  figures=$(grep -c '^figure|' "$work/$name.out")
  echo "perf: $name ended with $status after $seconds s, $figures figures" >&2
  if [ "$status" -ne 0 ] || [ "$figures" -eq 0 ]; then
    failed="$failed $name"
    echo "| $name | (failed: exit $status, $figures figures) | | | |" >>"$work/rows"
    return
  fi
  tr -d '\r' <"$work/$name.out" | grep '^figure|' | awk -F'|' -v bench="$name" '{
    ratio = ($4 == "" || $4 + 0 == 0) ? "" : sprintf("%.2f", $3 / $4)
    baseline = ($4 == "") ? "" : $4 " " $5
    printf "| %s | %s | %s %s | %s | %s |\n", bench, $2, $3, $5, baseline, ratio
  }' >>"$work/rows"
}

wine="$root/scripts/wine-run.sh"
prefix="$build/wineprefix"
run base_loop_bench "$wine" "$prefix" "$build/bin/base_loop_bench.exe"
run render_frame_bench "$wine" "$prefix" "$build/bin/render_frame_bench.exe"
run core_layout_paint_bench "$wine" "$prefix" "$build/bin/core_layout_paint_bench.exe"
run mainform_bench "$wine" "$prefix" "$build/bin/mainform_bench.exe" "$idle"
run idle_cpu "$root/scripts/campaign/idle_cpu.sh" "$idle"
run markup_bench "$build/native/bin/markup_bench"
loadAfter=$(cut -d' ' -f1-3 /proc/loadavg)

echo "## Performance"
echo
echo "Every benchmark program of bench/ ran once, one after the other (the Windows ones" \
     "under Wine on a private X display, markup_bench natively), on $(nproc) shared cores;" \
     "load average before $loadBefore, after $loadAfter. Each figure is divided by the" \
     "baseline its program measured in the same run (a bare Win32/GDI+ counterpart," \
     "pugixml or plain zlib), so a ratio above 1 is slower (for throughput: faster)."
echo
echo "| benchmark | figure | value | baseline | ratio |"
echo "|---|---|---|---|---|"
cat "$work/rows"
echo
if [ -n "$failed" ]; then
  echo "Verdict: FAILED: no figures from$failed."
else
  echo "Verdict: every benchmark ran and reported its figures."
fi
[ -z "$failed" ]
