#!/bin/sh
# Runs a window test on a display that no other window test uses meanwhile,
# so that two of them can run at once:
#   display-slot.sh PREFIX PREFIX2 PROGRAM [ARGS...]   a program under Wine
#   display-slot.sh - - COMMAND [ARGS...]              any other command
# The displays are $DISPLAY, whose programs run in the Wine prefix PREFIX,
# and, when set, $KV_SECOND_DISPLAY with PREFIX2: each display has a wine
# server of its own, so that windows, focus and the foreground window of one
# test never meet another's. The command runs on the first free display, or
# waits until one is free. A display is held (a lock in /tmp named after it)
# only by this script, not by what the command leaves running.
prefix1="$1"
prefix2="$2"
shift 2
root="$(cd "$(dirname "$0")" && pwd)"

# try_display DISPLAY PREFIX COMMAND...: runs the command there and exits
# with its status, unless another test holds that display.
try_display() {
  display="$1"
  prefix="$2"
  shift 2
  [ -n "$display" ] || return 1
  exec 9>>"/tmp/korvane-display-$(echo "$display" | tr -c 'A-Za-z0-9.\n' _).lock"
  if ! flock -n 9; then
    exec 9>&-
    return 1
  fi
  if [ "$prefix" = - ]; then
    DISPLAY="$display" "$@" 9>&-
  else
    DISPLAY="$display" "$root/wine-run.sh" "$prefix" "$@" 9>&-
  fi
  exit $?
}

if [ -z "${DISPLAY:-}" ]; then
  # No display to share: the test fails as it would anywhere without one.
  [ "$prefix1" = - ] && exec "$@"
  exec "$root/wine-run.sh" "$prefix1" "$@"
fi
while :; do
  try_display "${DISPLAY:-}" "$prefix1" "$@"
  try_display "${KV_SECOND_DISPLAY:-}" "$prefix2" "$@"
  sleep 0.2
done
