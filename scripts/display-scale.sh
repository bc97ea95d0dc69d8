# Sourced by the screenshot scripts: the display scale of their run.
# With a DPI ($1) other than 96, sets it as the build prefix's LogPixels
# until the script exits, gives the private display room for the larger
# windows, and names the scale for the file names (scale_suffix "@150").
dpi="${1:-96}"
scale_suffix=""
if [ "$dpi" != 96 ]; then
  scale_suffix="@$((dpi * 100 / 96))"
  export XVFB_SCREEN=2600x1400x24
  set_logpixels() {
    WINEPREFIX="$build/wineprefix" WINEDEBUG=-all wine reg "$@" \
      </dev/null >/dev/null 2>&1 || true
    WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
  }
  set_logpixels add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
  trap "set_logpixels delete 'HKCU\\Control Panel\\Desktop' /v LogPixels /f" EXIT
fi
