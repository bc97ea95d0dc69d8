#!/bin/sh
# Creates the Wine prefix used to run the program and the tests:
#   wine-prefix.sh PREFIX [--fallback-font]
# 64-bit only; message boxes close at once without a window manager; the
# skin's font face is mapped to an installed CJK face, unless
# --fallback-font leaves it missing (texts then take the system's fallback
# face, as on a system without it).
set -e
prefix="$1"
fallback="$2"
export WINEPREFIX="$prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix"
wineboot -i </dev/null >/dev/null 2>&1
reg="$prefix/korvane-setup.reg"
# regedit reads UTF-16 files, which carries the Chinese face name unharmed
# whatever the locale of this shell.
{
  printf '%s\r\n' \
    'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' \
    '"Managed"="N"' ''
  [ "$fallback" = "--fallback-font" ] || printf '%s\r\n' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"微软雅黑"="WenQuanYi Micro Hei"' \
    '"Microsoft YaHei"="WenQuanYi Micro Hei"' \
    '"新宋体"="WenQuanYi Micro Hei"' ''
} | { printf '\377\376'; iconv -f UTF-8 -t UTF-16LE; } > "$reg"
wine regedit /S "$(winepath -w "$reg")" </dev/null >/dev/null 2>&1
wineserver -w
touch "$prefix/.korvane-ready"
