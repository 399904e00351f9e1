#!/usr/bin/env bash
# Runs Zentara.
#
#   scripts/run.sh                                 the Windows program under Wine
#   scripts/run.sh --linux                         the X11 program zentara
#   scripts/run.sh --linux --screenshot FILE       zentara on a private display, FILE, then stop
#
# Windows: builds the program and its release zip and runs it from the unpacked
# zip under Wine. Linux: builds the linux preset's program and runs it from the
# build's dist folder. With $DISPLAY set, the panel appears there. Without one
# (or with --screenshot), the program runs on a private Xvfb display (for Linux
# with openbox as its window manager); a screenshot is saved once the panel
# shows and its path printed. Runs until interrupted or until the program ends;
# with --screenshot, stops the program once the screenshot is written.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

linux="" shot=""
while [ $# -gt 0 ]; do
  case $1 in
    --linux) linux=1 ;;
    --screenshot) [ $# -ge 2 ] || { echo "--screenshot needs a file name" >&2; exit 2; }; shot=$(realpath -m "$2"); shift ;;
    *) sed -n '3,6p' "${BASH_SOURCE[0]}" | sed 's/^# //' >&2; exit 2 ;;
  esac
  shift
done
[ -z "$shot" ] || [ -n "$linux" ] || { echo "--screenshot goes with --linux" >&2; exit 2; }

# Waits until the panel is mapped, then until two screenshots in a row are the
# same (after its start-up pause and first slide), and saves the last one.
# Returns 1 if the program ended or the panel did not settle within 60 s.
screenshot_when_settled() {
  local pid=$1 file=$2 previous="" current deadline=$((SECONDS + 60))
  while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    if xdotool search --onlyvisible --name "KOVA Zentara" >/dev/null 2>&1; then
      current=$(import -window root rgb:- | md5sum)
      [ "$current" == "$previous" ] && break
      previous=$current
    fi
    sleep 0.2
  done
  if kill -0 "$pid" 2>/dev/null && [ -n "$previous" ]; then
    mkdir -p "$(dirname "$file")"
    import -window root "$file"
    echo "Screenshot of the display: $file"
  else
    echo "The panel did not show within 60 s; no screenshot."
    return 1
  fi
}

program_pid=""
wait_for_program() {
  local status=0
  wait "$program_pid" || status=$?
  program_pid=""
  echo "Zentara ended with exit code $status."
  exit "$status"
}

run_linux() {
  require_packages "${native_build_packages[@]}" "${linux_packages[@]}"
  cd "$repo"
  cmake --preset linux >/dev/null
  cmake --build --preset linux --target zentara quillet zentara_artwork
  local run=$repo/build/linux/run
  mkdir -p "$run"
  xvfb_pid="" wm_pid=""
  cleanup() {
    # Only what this script started, by process id.
    local pid
    for pid in "$program_pid" "$wm_pid" "$xvfb_pid"; do
      [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    done
  }
  trap cleanup EXIT
  trap 'exit 130' INT TERM

  local private="" stop_after_shot=$shot
  if [ -n "$shot" ] || [ -z "${DISPLAY:-}" ]; then
    [ -n "$shot" ] || echo "No display set: the program runs on a private Xvfb display."
    # The helper starts an Xvfb on a free display (-noreset keeps root
    # properties when a client leaves), writes the display's name and stops the
    # server when it is stopped itself.
    rm -f "$run/display"
    python3 "$repo/tests/support/xservers.py" --size 1280x800 </dev/null >"$run/display" 2>"$run/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 200); do
      [ -s "$run/display" ] && break
      kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb ended at start:"; sed 's/^/  /' "$run/xvfb.log"; exit 1; }
      sleep 0.05
    done
    [ -s "$run/display" ] || { echo "Xvfb did not report a display within 10 s."; exit 1; }
    DISPLAY=$(head -n 1 "$run/display")
    export DISPLAY
    openbox >"$run/openbox.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 200); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
      sleep 0.05
    done
    # The private display is a session of its own: a panel already running on
    # the desktop does not keep this one from starting.
    export XDG_RUNTIME_DIR=$run
    [ -n "$shot" ] || shot=$run/screenshot.png
    private=1
  fi

  "$repo/build/linux/dist/zentara" &
  program_pid=$!
  echo "Zentara is running on $DISPLAY (process $program_pid). Press Ctrl+C to stop it."
  if [ -n "$private" ]; then
    screenshot_when_settled "$program_pid" "$shot" || exit 1
  fi
  if [ -n "$stop_after_shot" ]; then
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    program_pid=""
    exit 0
  fi
  wait_for_program
}

if [ -n "$linux" ]; then
  run_linux
fi

require_packages "${windows_build_packages[@]}" "${wine_packages[@]}"

cd "$repo"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target zentara_zip
zip=$(cat build/win64/package/zip-path.txt)

run=$repo/build/win64/run
cmake -DZIP="$zip" -DDEST="$run/app" -P tests/wine_panel/unpack.cmake >/dev/null
wine_scripts=$repo/tests/support/wine
state=$run/state prefix=$run/prefix
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
  screenshot_when_settled "$program_pid" "$run/screenshot.png" || true
fi
wait_for_program
