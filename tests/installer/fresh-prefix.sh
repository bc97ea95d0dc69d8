#!/bin/sh
# Runs a Windows test program in a Wine prefix made afresh from a template,
# so that every run starts on a machine where nothing was installed:
#   fresh-prefix.sh TEMPLATE PREFIX PROGRAM [ARGS...]
# The prefix hard-links the template's files; the registry, the user folders
# and the .ini files, which Wine may rewrite in place, are real copies.
# Everything left running in the prefix is ended afterwards.
set -e
template="$1"
prefix="$2"
shift 2
WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
rm -rf "$prefix"
cp -al "$template" "$prefix"
for own in "$prefix"/*.reg "$prefix"/drive_c/users "$prefix"/drive_c/windows/*.ini; do
  rm -rf "$own"
  cp -a "$template/${own#"$prefix"/}" "$own"
done
set +e
"$(dirname "$0")/../../scripts/wine-run.sh" "$prefix" "$@"
status=$?
WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
exit $status
