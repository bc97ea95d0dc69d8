#!/bin/sh
# Runs one GoogleTest suite of a test program, as one CTest test:
#   gtest-suite.sh SUITE PROGRAM [ARGS...]
# (PROGRAM may be a runner such as wine-run.sh PREFIX followed by the .exe).
# All the suite's cases run in one process. When that run fails, every case
# that did not pass runs again alone, in a fresh process, as it would run by
# itself; the suite passes when each of them passes then. Both runs stay in
# the output, so a failing case is named with its assertions.
suite="$1"
shift
log="$(mktemp)"
trap 'rm -f "$log" "$log.status"' EXIT
{ "$@" --gtest_filter="$suite.*" 2>&1; echo "$?" >"$log.status"; } | tee "$log"
[ "$(cat "$log.status")" = 0 ] && exit 0

# Cases as gtest names them: "Suite.Case", also "Prefix/Suite.Case/0".
passed="$(tr -d '\r' <"$log" | sed -n 's/^\[       OK \] \([^ ]*\) .*/\1/p')"
cases="$("$@" --gtest_list_tests --gtest_filter="$suite.*" 2>/dev/null | tr -d '\r' |
  sed -n 's/^  \([^ ]*\).*/\1/p')"
[ -n "$cases" ] || { echo "gtest-suite: cannot list the cases of $suite" >&2; exit 1; }
failed=0
for case in $cases; do
  name="$suite.$case"
  echo "$passed" | grep -qxF "$name" && continue
  echo "gtest-suite: $name again, alone:"
  "$@" --gtest_filter="$name" 2>&1 || failed=1
done
exit $failed
