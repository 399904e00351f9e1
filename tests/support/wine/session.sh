#!/usr/bin/env bash
# Starts or stops the Wine session the Windows tests run in: a private Xvfb
# display and a Wine prefix kept in the build tree, set to Windows 10 once.
#
#   session.sh start STATE_DIR PREFIX_DIR
#   session.sh stop  STATE_DIR PREFIX_DIR
#
# STATE_DIR receives the display number and the process ids this script started.
set -euo pipefail
action=$1
mkdir -p "$2" "$(dirname "$3")"
state=$(realpath "$2") prefix=$(realpath -m "$3")
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

start() {
  mkdir -p "$state"
  stop_started_processes
  # Xvfb picks a free display and writes its number to the pipe we give it.
  exec {fd}> >(cat > "$state/display.tmp")
  Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp >"$state/xvfb.log" 2>&1 &
  echo $! > "$state/xvfb.pid"
  exec {fd}>&-
  for _ in $(seq 100); do
    [ -s "$state/display.tmp" ] && break
    sleep 0.1
  done
  [ -s "$state/display.tmp" ] || { echo "Xvfb did not start:"; cat "$state/xvfb.log"; exit 1; }
  echo ":$(tr -d '\n' < "$state/display.tmp")" > "$state/display"
  export DISPLAY=$(cat "$state/display")
  # Keep the server up between tests, so that each Wine process starts quickly.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  if [ ! -f "$prefix/.zentara-ready" ]; then
    # A new prefix reports Windows 6.1; the program needs 6.2 or later.
    wine winecfg -v win10 </dev/null >"$state/wineboot.log" 2>&1 || true
    if ! wine cmd /c ver </dev/null 2>/dev/null | grep -q "Windows 10"; then
      echo "Wine prefix $prefix could not be set to Windows 10:"; cat "$state/wineboot.log"; exit 1
    fi
    touch "$prefix/.zentara-ready"
  fi
  wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
  echo "Wine session on display $DISPLAY, prefix $WINEPREFIX"
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
  start) start ;;
  stop) stop_started_processes; echo "Wine session stopped" ;;
  *) echo "usage: $0 start|stop STATE_DIR PREFIX_DIR" >&2; exit 2 ;;
esac
