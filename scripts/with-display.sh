#!/bin/sh
# Runs a command with an X display: the current one, or a private Xvfb that
# is started for the command and stopped (by its process id) afterwards.
# XVFB_SCREEN sets that display's size (default 1600x1000x24).
if [ -n "$DISPLAY" ]; then
  exec "$@"
fi
fifo="$(mktemp -u)"
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1600x1000x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r display_number <"$fifo"
rm -f "$fifo"
export DISPLAY=":$display_number"
"$@"
status=$?
kill "$xvfb_pid" 2>/dev/null
wait "$xvfb_pid" 2>/dev/null
exit $status
