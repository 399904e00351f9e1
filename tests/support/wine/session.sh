#!/usr/bin/env bash
# Starts or stops a Wine session: an X display (a private Xvfb, unless one is
# given) and a Wine prefix, set to Windows 10 once. The tests and scripts/run.sh
# run their Windows programs in it with run.sh.
#
#   session.sh start STATE_DIR PREFIX_DIR [DISPLAY]
#   session.sh stop  STATE_DIR PREFIX_DIR
#
# STATE_DIR receives the display and the id of the Xvfb process this script
# started; stop ends only that process and the prefix's own Wine processes.
# A display that does not start or a prefix that cannot be set up is reported,
# and start exits with status 1.
set -euo pipefail
action=$1
mkdir -p "$2" "$(dirname "$3")"
state=$(realpath "$2") prefix=$(realpath -m "$3")
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

fail() {
  echo "$1"
  [ -z "${2:-}" ] || sed 's/^/  /' "$2"
  stop_started_processes
  exit 1
}

start_xvfb() {
  # The helper starts an Xvfb on a free display, writes the display's name as
  # its first line and stops the server when it is stopped itself.
  rm -f "$state/display"
  python3 "$(dirname "$0")/../xservers.py" --size 1280x1024 --reset </dev/null >"$state/display.tmp" 2>"$state/xvfb.log" &
  echo $! > "$state/xvfb.pid"
  for _ in $(seq 200); do
    [ -s "$state/display.tmp" ] && break
    kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null || fail "Xvfb ended at start:" "$state/xvfb.log"
    sleep 0.05
  done
  [ -s "$state/display.tmp" ] || fail "Xvfb did not report a display within 10 s:" "$state/xvfb.log"
  cp "$state/display.tmp" "$state/display"
}

start() {
  mkdir -p "$state"
  stop_started_processes
  if [ -n "${1:-}" ]; then
    echo "$1" > "$state/display"
  else
    start_xvfb
  fi
  export DISPLAY=$(cat "$state/display")
  geometry=$(xdotool getdisplaygeometry 2>"$state/display.log") ||
    fail "The display $DISPLAY does not answer:" "$state/display.log"
  if [ ! -f "$prefix/.zentara-ready" ]; then
    # A new prefix reports Windows 6.1; the program needs 6.2 or later.
    wine winecfg -v win10 </dev/null >"$state/prefix.log" 2>&1 || true
    wineserver -w 2>/dev/null || true
  fi
  # Keep the server up between programs, so that each one starts quickly; it
  # gets none of our pipes, so callers can capture a Wine program's output.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  # A display-scale test stopped from outside may have left its DPI behind;
  # every session starts at the default 96 DPI.
  wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f </dev/null >/dev/null 2>&1 || true
  # Also warms the prefix up, so the first program does not pay for it.
  wine cmd /c ver </dev/null >"$state/version.txt" 2>>"$state/prefix.log" || true
  if ! grep -q "Windows 10" "$state/version.txt"; then
    cat "$state/version.txt" >>"$state/prefix.log"
    fail "The Wine prefix $prefix could not be set up for Windows 10:" "$state/prefix.log"
  fi
  touch "$prefix/.zentara-ready"
  echo "Wine session on display $DISPLAY (${geometry/ /x}), prefix $WINEPREFIX"
}

stop_started_processes() {
  if [ -d "$prefix" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    rm -f "$state/xvfb.pid"
  fi
  rm -f "$state/display" "$state/display.tmp"
}

case $action in
  start) start "${4:-}" ;;
  stop) stop_started_processes; echo "Wine session stopped" ;;
  *) echo "usage: $0 start STATE_DIR PREFIX_DIR [DISPLAY] | stop STATE_DIR PREFIX_DIR" >&2; exit 2 ;;
esac
