#!/usr/bin/env bash
# Runs a Windows program inside the Wine session that session.sh started.
#   run.sh STATE_DIR PREFIX_DIR PROGRAM [ARGS...]
set -euo pipefail
state=$(realpath "$1") prefix=$(realpath -m "$2")
shift 2
[ -f "$state/display" ] || { echo "no Wine session in $state; run session.sh start first" >&2; exit 125; }
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=$(cat "$state/display")
exec wine "$@"
