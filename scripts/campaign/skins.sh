#!/bin/sh
# Hostile skins: the real control panel started with damaged skins, one Wine
# run per case. Each case is a copy of KorVaneControls.exe whose THEME
# resource is replaced by a damaged archive (or removed, with a damaged
# resources\ folder in its working folder instead); skinprobe.exe starts it,
# reads and closes message boxes, checks that the main window answers, and
# ends it with -exitall. Prints one Markdown section; exits non-zero when a
# case crashed, hung, or did not give its expected result.
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
export BUILD_DIR="$build"
limit="${SKINS_CASE_SECONDS:-40}"
# SKINS_PROGRAM runs the cases against another build of the program.
program="${SKINS_PROGRAM:-$build/bin/KorVaneControls.exe}"
# SKINS_ONLY limits the run to the named cases (blank separated).
only="${SKINS_ONLY:-}"

"$root/scripts/build.sh" --target KorVaneControls tusbaudioapi skinprobe >&2 || exit 1
work="$build/campaign-skins"
cases="$root/scripts/campaign/skin_cases.py"
# The damaged skins take minutes to write (bombs, huge images): they are
# kept until the skin or the generator changes.
if [ ! -s "$work/cases.tsv" ] || [ "$build/app/theme.zip" -nt "$work/cases.tsv" ] ||
   [ "$cases" -nt "$work/cases.tsv" ]; then
  rm -rf "$work"
  mkdir -p "$work"
  echo "skins: writing the damaged skins" >&2
  nice python3 "$cases" "$build/app/theme.zip" "$work" >"$work/cases.tsv.new" || exit 1
  mv "$work/cases.tsv.new" "$work/cases.tsv"
fi
rm -f "$work/results.tsv"

# A wine server started for another display would place windows elsewhere.
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
unset DISPLAY
"$root/scripts/with-display.sh" sh -c '
  root="$1"; build="$2"; work="$3"; limit="$4"; program="$5"; only="$6"
  prefix="$build/wineprefix"
  # Wine talks on standard error (missing 32-bit support and the like).
  run() { "$root/scripts/wine-run.sh" "$prefix" "$@" 2>/dev/null; }
  winpath() { WINEPREFIX="$prefix" winepath -w "$1" 2>/dev/null; }
  run regsvr32 /s "$(winpath "$build/bin/tusbaudioapi.dll")"
  # No crash dialog (a crash ends the process), message boxes close at once.
  run reg add "HKCU\\Software\\Wine\\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  run reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  probe="$build/bin/skinprobe.exe"
  while IFS="	" read -r name expected description; do
    dir="$work/$name"
    archive=-
    [ -f "$dir/theme.zip" ] && archive="$(winpath "$dir/theme.zip")"
    if [ -n "$only" ] && ! echo " $only " | grep -q " $name "; then continue; fi
    # Writing the resources of the copy fails now and then under Wine: twice.
    run "$probe" theme "$(winpath "$program")" "$(winpath "$dir/KorVaneControls.exe")" \
      "$archive" || run "$probe" theme "$(winpath "$program")" \
      "$(winpath "$dir/KorVaneControls.exe")" "$archive" || {
      echo "$name	error	0	cannot make the program copy" >>"$work/results.tsv"; continue; }
    echo "skins: $name" >&2
    # Nothing of an earlier case may hold the single-instance mutex.
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null
    line=$(cd "$dir" && timeout $((limit + 60)) "$root/scripts/wine-run.sh" "$prefix" \
      "$probe" run "$(winpath "$dir/KorVaneControls.exe")" "$limit" 2>/dev/null | tr -d "\r")
    [ -n "$line" ] || line="outcome=hang ms=$((limit * 1000)) exit=0x0 text=probe timed out"
    outcome=$(echo "$line" | sed -n "s/^outcome=\([a-z]*\).*/\1/p")
    ms=$(echo "$line" | sed -n "s/.* ms=\([0-9]*\).*/\1/p")
    code=$(echo "$line" | sed -n "s/.* exit=\(0x[0-9A-F]*\).*/\1/p")
    text=$(echo "$line" | sed -n "s/.* text=//p")
    echo "$name	$outcome	$ms	$code	$text" >>"$work/results.tsv"
    echo "skins: $name -> $outcome ($ms ms, exit $code) $text" >&2
    rm -f "$dir/KorVaneControls.exe"
    # A case that hung may have left Wine processes behind.
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  done <"$work/cases.tsv"
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  true' sh "$root" "$build" "$work" "$limit" "$program" "$only"

failures=0
echo "## Hostile skins"
echo
echo "The real \`KorVaneControls.exe\` was started once per case, in its own Wine run limited" \
     "to $limit s, with its THEME resource replaced by a damaged archive (or removed, with a" \
     "damaged \`resources\\\\\` folder beside it). A case passes when the program shows" \
     "the expected result (the defined \"Failed to load xml file\" message box, or a main window" \
     "that answers messages), never crashes or hangs, and ends with its exit code 0 after" \
     "the message box or after \`-exitall\`."
echo
echo "| case | damage | outcome | time to outcome | exit code | verdict |"
echo "|---|---|---|---|---|---|"
while IFS="	" read -r name expected description; do
  if [ -n "$only" ] && ! echo " $only " | grep -q " $name "; then continue; fi
  result=$(grep "^$name	" "$work/results.tsv" 2>/dev/null | head -n 1)
  outcome=$(echo "$result" | cut -f2)
  ms=$(echo "$result" | cut -f3)
  code=$(echo "$result" | cut -f4)
  text=$(echo "$result" | cut -f5)
  shown="$outcome"
  [ "$outcome" = message ] && shown="message \"$text\""
  [ "$outcome" = window ] && shown="window"
  [ "$outcome" = window ] && [ -n "$text" ] && shown="window after \"$text\""
  if [ "$outcome" = "$expected" ] && [ "$code" = 0x0 ]; then
    verdict=pass
  else
    verdict="FAIL (expected $expected)"
    failures=$((failures + 1))
  fi
  echo "| $name | $description | $shown | ${ms:-?} ms | ${code:-?} | $verdict |"
done <"$work/cases.tsv"
echo
total=$(wc -l <"$work/results.tsv")
if [ "$failures" -eq 0 ]; then
  echo "Verdict: all $total cases passed."
else
  echo "Verdict: $failures of $total cases FAILED."
fi
[ "$failures" -eq 0 ]
