#!/bin/sh
# Long fuzzing campaign: every libFuzzer target of the native tree, one after
# the other at low priority, until it has run FUZZ_RUNS inputs (default 10^7)
# or its share of the time is used up. Prints one Markdown section.
#   scripts/campaign/fuzz.sh [TARGET ...]     (default: every target)
# Environment:
#   FUZZ_RUNS         executions per target (10000000)
#   FUZZ_MAX_SECONDS  time limit per target (3600)
#   FUZZ_DEADLINE     "HH:MM": the remaining targets share the time left
#                     until then, each at most FUZZ_MAX_SECONDS
#   FUZZ_MAX_LEN      longest input in bytes (libFuzzer's own default when unset)
#   FUZZ_MERGE=1      afterwards add the inputs that reach new code to the
#                     corpus kept in the repository (libFuzzer -merge=1)
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
native="$build/native"
manifest="$native/fuzz-targets.txt"
runs="${FUZZ_RUNS:-10000000}"
maxSeconds="${FUZZ_MAX_SECONDS:-3600}"
deadline=""
if [ -n "${FUZZ_DEADLINE:-}" ]; then
  deadline=$(date -d "$FUZZ_DEADLINE" +%s) || exit 2
fi

if [ ! -s "$manifest" ]; then
  echo "fuzz.sh: $manifest is missing: build the tree first (scripts/build.sh)" >&2
  exit 2
fi
targets="${*:-$(cut -d' ' -f1 "$manifest")}"
count=$(echo $targets | wc -w)
work="$build/fuzz-campaign"
mkdir -p "$work"

# Total size of the files in a folder, in KB (not the blocks they occupy).
sizeKb() { find "$1" -type f -exec cat {} + | wc -c | awk '{ printf "%.0f", $1 / 1024 }'; }

failed=""
short=""
index=0
for name in $targets; do
  line=$(grep "^$name " "$manifest") || { echo "fuzz.sh: no fuzz target $name" >&2; exit 2; }
  program=$(echo "$line" | cut -d' ' -f2)
  seeds=$(echo "$line" | cut -d' ' -f3-)
  corpus="$native/fuzz-corpus/$name"
  mkdir -p "$corpus"
  limit=$maxSeconds
  if [ -n "$deadline" ]; then
    share=$(( (deadline - $(date +%s)) / (count - index) ))
    [ "$share" -lt "$limit" ] && limit=$share
    [ "$limit" -lt 10 ] && limit=10
  fi
  index=$((index + 1))
  log="$work/$name.log"
  echo "fuzz: $name for up to $runs runs or $limit s ($(date -u +%H:%M:%S))" >&2
  rm -f "$work/$name"-crash-* "$work/$name"-leak-* "$work/$name"-timeout-* "$work/$name"-oom-*
  start=$(date +%s)
  # Reports leave out allocation stacks and the quarantine is smaller, for
  # about a fifth more executions; rerun a finding's input to get the stacks.
  # shellcheck disable=SC2086 # the seed folders are separate arguments
  ASAN_OPTIONS=detect_leaks=1:malloc_context_size=0:quarantine_size_mb=16 nice -n 10 "$program" -runs="$runs" -max_total_time="$limit" \
    -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 -artifact_prefix="$work/$name-" \
    ${FUZZ_MAX_LEN:+-max_len="$FUZZ_MAX_LEN"} \
    "$corpus" $seeds >"$log" 2>&1
  status=$?
  seconds=$(( $(date +%s) - start ))
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  files=$(find "$corpus" -type f | wc -l)
  kb=$(sizeKb "$corpus")
  artifact=$(ls "$work/$name"-* 2>/dev/null | head -n 1)
  if [ "$status" -ne 0 ]; then
    result="FAILED (exit $status${artifact:+, input $artifact})"
    failed="$failed $name"
  elif [ "${execs:-0}" -lt "$runs" ]; then
    result="no finding; stopped at the time limit"
    short="$short $name"
  else
    result="no finding"
  fi
  # One row file per target, so that runs of different targets can go side by side.
  echo "| $name | ${execs:-?} | $seconds | ${rate:-?} | $files / $kb KB | $result |" >"$work/$name.row"
  echo "fuzz: $name: ${execs:-?} runs in $seconds s: $result" >&2

  keep=$(echo "$seeds" | cut -d' ' -f1)
  if [ "${FUZZ_MERGE:-0}" = 1 ] && [ "$status" -eq 0 ] && [ -n "$keep" ] &&
     [ "${keep#"$root"/}" != "$keep" ] && [ "${keep#"$build"/}" = "$keep" ]; then
    mkdir -p "$keep"
    before=$(find "$keep" -type f | wc -l)
    nice -n 10 "$program" -merge=1 "$keep" "$corpus" >"$work/$name.merge.log" 2>&1
    echo "fuzz: $name: kept corpus $before -> $(find "$keep" -type f | wc -l) files," \
         "$(sizeKb "$keep") KB" >&2
  fi
done

echo "## Fuzzing"
echo
echo "Every libFuzzer target of the native tree (AddressSanitizer and UBSan," \
     "leak checks on) ran alone at nice 10 on a machine of $(nproc) shared cores," \
     "for $runs executions or until its share of the time ran out, starting from" \
     "the corpus kept in the repository. Executions and exec/s are libFuzzer's own" \
     "final statistics; the corpus is the working corpus after the run."
echo
echo "| target | executions | seconds | exec/s | corpus (files / size) | result |"
echo "|---|---|---|---|---|---|"
for name in $targets; do cat "$work/$name.row"; done
echo
if [ -n "$failed" ]; then
  echo "Verdict: FAILED: a crash, sanitizer report or broken invariant in:$failed."
elif [ -n "$short" ]; then
  echo "Verdict: no finding; the targets$short stopped short of $runs executions."
else
  echo "Verdict: passed: every target ran $runs executions without a finding."
fi
[ -z "$failed" ]
