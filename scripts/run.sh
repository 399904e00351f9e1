#!/usr/bin/env bash
# Builds Zentara for Windows and runs it under Wine from the release zip's layout.
# With $DISPLAY set, the panel appears there. Without one, the program runs on a
# private Xvfb display; a screenshot is saved and its path printed. Runs until
# interrupted or until the program ends.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
require_packages "${windows_build_packages[@]}" "${wine_packages[@]}"

cd "$repo"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target zentara_zip

app=$repo/build/win64/run/app
cmake -DZIP="$repo/build/win64/package/Zentara-1.0.0-win64.zip" -DDEST="$app" -P tests/e2e/unpack.cmake >/dev/null
export WINEPREFIX=$repo/build/win64/run/prefix
mkdir -p "$(dirname "$WINEPREFIX")"
xvfb_pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
  display_file=$(mktemp)
  exec {fd}> >(cat > "$display_file")
  Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  exec {fd}>&-
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(tr -d '\n' < "$display_file")"
  rm -f "$display_file"
  echo "No display set: running on the private display $DISPLAY."
fi

# Prepared on the display the program will use: Wine's desktop process keeps the
# display it was started with.
if [ ! -f "$WINEPREFIX/.zentara-ready" ]; then
  echo "Preparing a Wine prefix (once) ..."
  # A new prefix reports Windows 6.1; the program needs 6.2 or later.
  wine winecfg -v win10 </dev/null >/dev/null 2>&1 || true
  touch "$WINEPREFIX/.zentara-ready"
fi

(cd /tmp && exec wine "$app/Zentara.exe") &
program_pid=$!
echo "Zentara is running (process $program_pid). Press Ctrl+C to stop it."

if [ -n "$xvfb_pid" ]; then
  # The panel shows after its start-up pause and first slide; a new Wine prefix takes longer.
  for _ in $(seq 300); do
    xdotool search --name "KOVA Zentara" >/dev/null 2>&1 && break
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
  done
  # The window exists from the first slide on, and shows once the slide is over.
  sleep 2
  shot=$repo/build/win64/run/screenshot.png
  import -window root "$shot"
  echo "Screenshot of the display: $shot"
fi

status=0
wait "$program_pid" || status=$?
program_pid=""
echo "Zentara ended with exit code $status."
exit "$status"
