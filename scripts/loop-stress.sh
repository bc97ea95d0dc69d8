#!/bin/sh
# Runs the message-loop and framework-thread tests COUNT times (default 200)
# under Wine while every CPU is kept busy, and shows that none takes more than
# LIMIT_MS (default 3000). A lost wake-up shows up as a test that hangs until
# something else happens to wake its loop. Each test process repeats the tests
# REPEAT times (default 20), as starting a Wine process on a loaded machine
# takes seconds; the process wall times are reported separately.
#   scripts/loop-stress.sh [COUNT]
# Not part of the default test suite: it takes minutes.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
count="${1:-200}"
limit_ms="${LIMIT_MS:-3000}"
repeat="${REPEAT:-20}"
export BUILD_DIR="$build"
"$root/scripts/build.sh" --target base_tests base_ui_tests wineprefix >/dev/null

log="$build/loop-stress"
rm -rf "$log"
mkdir -p "$log"

# One busy process per CPU, stopped by their process ids on exit.
busy=""
for _ in $(seq "$(nproc)"); do
  sh -c 'while :; do :; done' &
  busy="$busy $!"
done
trap 'kill $busy 2>/dev/null' EXIT INT TERM

status=0
"$root/scripts/with-display.sh" sh -c '
  root="$1"; build="$2"; count="$3"; limit_ms="$4"; log="$5"; repeat="$6"
  prefix="$build/wineprefix"
  run() { # name, program, filter
    start=$(date +%s%N)
    "$root/scripts/wine-run.sh" "$prefix" "$build/bin/$2" --gtest_filter="$3" \
      --gtest_repeat="$repeat" \
      >"$log/$1.$i.txt" 2>&1 || echo "FAILED run $i of $2" >>"$log/failures"
    echo "$(( ($(date +%s%N) - start) / 1000000 )) $2" >>"$log/process-ms"
  }
  i=1
  while [ "$i" -le "$count" ]; do
    run ui base_ui_tests.exe "*"
    run loop base_tests.exe "MessageLoopTest.*:FrameworkThreadTest.*"
    i=$((i + repeat))
  done
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  # Per-test times as reported by the test programs: "[       OK ] Name (N ms)".
  cat "$log"/ui.*.txt "$log"/loop.*.txt | tr -d "\r" |
    sed -n "s/^\[ *\(OK\|FAILED\) *\] \([^ ]*\) (\([0-9]*\) ms)$/\3 \2 \1/p" >"$log/test-ms"
  echo "runs: $count of each test ($repeat per process), $(wc -l <"$log/test-ms") test runs, CPUs busy: $(nproc)"
  echo "window-system start-up per test process (ms, before the first test):"
  cat "$log"/ui.*.txt | tr -d "\r" | sed -n "s/^window system started in \([0-9]*\) ms$/\1/p" |
    sort -n | tr "\n" " "
  echo
  echo "slowest test runs (ms):"
  sort -n -r "$log/test-ms" | head -5
  awk -v limit="$limit_ms" "
    { n[\$2]++; sum[\$2] += \$1; if (\$1 > max[\$2]) max[\$2] = \$1; if (\$1 > limit) over++ }
    END {
      for (t in n) printf \"  %-80s mean %6.1f ms  max %5d ms\n\", t, sum[t] / n[t], max[t]
      printf \"test runs over %d ms: %d\n\", limit, over + 0
    }" "$log/test-ms" | sort
  sort -n "$log/process-ms" | awk "{ v[NR] = \$1 } END {
    printf \"test processes: %d, wall time median %d ms, max %d ms\n\", NR, v[int((NR + 1) / 2)], v[NR] }"
  failed=0
  if [ -s "$log/failures" ]; then cat "$log/failures"; failed=1; fi
  if grep -q " FAILED$" "$log/test-ms"; then echo "failed tests:"; grep " FAILED$" "$log/test-ms"; failed=1; fi
  if awk -v limit="$limit_ms" "\$1 > limit { found = 1 } END { exit !found }" "$log/test-ms"; then
    failed=1
  fi
  [ "$failed" -eq 0 ] && echo "PASS: no test run over $limit_ms ms, no failure" || echo "FAIL"
  exit $failed' sh "$root" "$build" "$count" "$limit_ms" "$log" "$repeat" || status=$?
exit $status
