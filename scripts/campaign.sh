#!/bin/sh
# Runs the stress campaigns against the built tree and writes their report
# (scripts/campaign-report.md). Takes tens of minutes; it is not part of the
# test command. Arguments name the campaigns to run (default: all of them):
#   plug-storm faults soak skins fuzz perf
# Each campaign is scripts/campaign/NAME.sh; it prints one Markdown section
# on its standard output and ends non-zero when it found a failure.
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_DIR="${BUILD_DIR:-$root/build}"
report="${CAMPAIGN_REPORT:-$root/scripts/campaign-report.md}"
campaigns="${*:-plug-storm faults soak skins fuzz perf}"

"$root/scripts/build.sh" || exit 1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=""
for name in $campaigns; do
  script="$root/scripts/campaign/$name.sh"
  if [ ! -x "$script" ]; then
    echo "campaign.sh: no campaign named $name" >&2
    exit 2
  fi
  echo "campaign: $name started $(date -u +%H:%M:%S)" >&2
  start=$(date +%s)
  if "$script" >"$work/$name.md"; then
    result=passed
  else
    result=FAILED
    failed="$failed $name"
  fi
  echo "| $name | $result | $(( $(date +%s) - start )) s |" >>"$work/summary"
  echo "campaign: $name $result" >&2
done

{
  echo "# Stress campaign report"
  echo
  echo "Run $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores, commit" \
       "$(git -C "$root" rev-parse --short HEAD)."
  echo
  echo "| campaign | result | time |"
  echo "|---|---|---|"
  cat "$work/summary"
  for name in $campaigns; do
    echo
    cat "$work/$name.md"
  done
} >"$report"
echo "report: $report" >&2
[ -z "$failed" ]
