#!/usr/bin/env bash
# Builds Zentara for Windows and runs it under Wine from the unpacked release zip.
# With $DISPLAY set, the panel appears there. Without one, the program runs on a
# private Xvfb display; a screenshot is saved and its path printed. Runs until
# interrupted or until the program ends.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
require_packages "${windows_build_packages[@]}" "${wine_packages[@]}"

cd "$repo"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target zentara_zip
zip=$(cat build/win64/package/zip-path.txt)

run=$repo/build/win64/run
cmake -DZIP="$zip" -DDEST="$run/app" -P tests/e2e/unpack.cmake >/dev/null
wine_scripts=$repo/tests/support/wine
state=$run/state prefix=$run/prefix
program_pid=""
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  "$wine_scripts/session.sh" stop "$state" "$prefix" >/dev/null
}
trap cleanup EXIT
trap 'exit 130' INT TERM

private_display=${DISPLAY:-}
[ -n "$private_display" ] || echo "No display set: the program runs on a private Xvfb display."
# Reports and stops if the display does not start or the prefix cannot be set up.
"$wine_scripts/session.sh" start "$state" "$prefix" ${DISPLAY:+"$DISPLAY"}

(cd /tmp && exec "$wine_scripts/run.sh" "$state" "$prefix" "$run/app/Zentara.exe") &
program_pid=$!
echo "Zentara is running (process $program_pid). Press Ctrl+C to stop it."

if [ -z "$private_display" ]; then
  export DISPLAY=$(cat "$state/display")
  # The panel shows after its start-up pause and first slide: wait until it is
  # mapped, then until two screenshots in a row are the same.
  shot=$run/screenshot.png
  previous="" deadline=$((SECONDS + 60))
  while kill -0 "$program_pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    if xdotool search --onlyvisible --name "KOVA Zentara" >/dev/null 2>&1; then
      current=$(import -window root rgb:- | md5sum)
      [ "$current" == "$previous" ] && break
      previous=$current
    fi
    sleep 0.2
  done
  if kill -0 "$program_pid" 2>/dev/null && [ -n "$previous" ]; then
    import -window root "$shot"
    echo "Screenshot of the display: $shot"
  else
    echo "The panel did not show within 60 s; no screenshot."
  fi
fi

status=0
wait "$program_pid" || status=$?
program_pid=""
echo "Zentara ended with exit code $status."
exit "$status"
