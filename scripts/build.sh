#!/bin/sh
# Configures and builds everything: the Windows tree and, inside it, the
# native sanitizer tree. BUILD_DIR chooses the tree (default ./build).
# Configuring again on every build picks up module folders added since.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/deps.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
else
  cmake "$build" >/dev/null
  if [ -f "$build/native/CMakeCache.txt" ]; then
    cmake "$build/native" >/dev/null
  fi
fi
cmake --build "$build" "$@"
