#!/bin/sh
# Installs the Debian packages the build and the tests need, when missing.
set -e
packages="cmake ninja-build python3 zip git clang-format-14
  g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
  wine wine64 fonts-wine fonts-wqy-microhei xvfb xauth imagemagick xdotool x11-utils
  clang-14 libclang-rt-14-dev googletest zlib1g-dev libpugixml-dev
  nsis xdotool"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
