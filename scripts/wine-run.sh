#!/bin/sh
# Runs a Windows program under Wine in the given prefix:
#   wine-run.sh PREFIX PROGRAM [ARGS...]
# A persistent wine server and Wine's helper processes are started first with
# their standard streams detached; otherwise they inherit the caller's pipes
# and every run waits seconds for them to let go.
# The prefix may be given relative to the current folder.
case "$1" in
  /*) WINEPREFIX="$1" ;;
  *) WINEPREFIX="$PWD/$1" ;;
esac
export WINEPREFIX
shift
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
exec wine "$@"
