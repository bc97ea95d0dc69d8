#!/bin/sh
# Runs a command with an X display: the current one, or a private Xvfb that
# is started for the command and stopped (by its process id) afterwards.
# XVFB_SCREEN sets that display's size (default 1600x1000x24).
# With KV_DISPLAYS=2 and no current display, a second private Xvfb is started
# too and named in KV_SECOND_DISPLAY (scripts/display-slot.sh runs window
# tests on either).
if [ -n "$DISPLAY" ]; then
  exec "$@"
fi
pids=""
# Starts an Xvfb and sets display_number to the display it took.
start_xvfb() {
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1600x1000x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  pids="$pids $!"
  read -r display_number <"$fifo"
  rm -f "$fifo"
}
start_xvfb
export DISPLAY=":$display_number"
if [ "${KV_DISPLAYS:-1}" -ge 2 ]; then
  start_xvfb
  export KV_SECOND_DISPLAY=":$display_number"
fi
"$@"
status=$?
for pid in $pids; do
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
done
exit $status
