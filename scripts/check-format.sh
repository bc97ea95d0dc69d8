#!/bin/sh
# Fails when a tracked C++ source is not formatted by the tree's .clang-format.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
format="$(command -v clang-format-14 || true)"
[ -n "$format" ] || { echo "check-format: clang-format-14 is missing" >&2; exit 1; }
git ls-files -z -- '*.cpp' '*.h' | xargs -0 "$format" --dry-run -Werror
