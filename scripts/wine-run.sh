#!/bin/sh
# Runs a Windows program under Wine in the given prefix:
#   wine-run.sh PREFIX PROGRAM [ARGS...]
# The first run starts a persistent wine server and Wine's helper processes
# with their standard streams detached; otherwise they inherit the caller's
# pipes and every run waits seconds for them to let go. Later runs find the
# server up (wineserver -p then exits with 2) and skip that start, which
# costs as much as the program's own. A lock keeps a concurrent run from
# starting its program before the helpers are up.
# The prefix may be given relative to the current folder.
case "$1" in
  /*) WINEPREFIX="$1" ;;
  *) WINEPREFIX="$PWD/$1" ;;
esac
export WINEPREFIX
shift
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
mkdir -p "$WINEPREFIX"
{
  flock 9
  # The server and the helpers outlive this script: they must not hold the lock.
  if wineserver -p </dev/null >/dev/null 2>&1 9>&-; then
    wine cmd /c exit </dev/null >/dev/null 2>&1 9>&-
  fi
} 9>>"$WINEPREFIX/.wine-run.lock"
exec wine "$@"
