#!/bin/sh
# Runs the display-scale test of the mixer and the settings window at 96,
# 120, 144 and 192 DPI (100, 125, 150 and 200 %) in a Wine prefix of its
# own, whose display scale it sets (the suite's prefix stays at 96 DPI):
#   dpi-scales.sh PREFIX TEST_PROGRAM
# (KV_DPIS="144" runs one of them.)
# The prefix leaves the skin's font face missing, so that every text is
# measured with the fallback face. A private display is started, large
# enough for the mixer at 200 %.
prefix="$1"
program="$2"
root="$(cd "$(dirname "$0")/../.." && pwd)"
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export XVFB_SCREEN=2600x1400x24
unset DISPLAY
exec "$root/scripts/with-display.sh" sh -c '
  root="$0"; program="$1"; status=0
  for dpi in ${KV_DPIS:-96 120 144 192}; do
    # Read by each Wine process as it starts; the server is started
    # again so that nothing of the last run carries over.
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f \
      </dev/null >/dev/null 2>&1
    wineserver -k 2>/dev/null
    wineserver -w
    echo "== LogPixels $dpi"
    "$root/scripts/wine-run.sh" "$WINEPREFIX" "$program" \
      --gtest_filter=DpiFlowTest.MixerAndSettingsAtTheDisplayScale || status=1
  done
  wineserver -k 2>/dev/null
  exit $status' "$root" "$program"
