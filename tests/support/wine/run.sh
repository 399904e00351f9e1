#!/usr/bin/env bash
# Runs a Windows program inside the Wine session that session.sh started, and
# passes on its output and exit status.
#   run.sh STATE_DIR PREFIX_DIR PROGRAM [ARGS...]
# The output goes through a file: a Wine process may start the session's
# desktop or services, which would hold a pipe of the caller open for as long
# as they live.
set -euo pipefail
state=$(realpath "$1") prefix=$(realpath -m "$2")
shift 2
[ -f "$state/display" ] || { echo "no Wine session in $state; run session.sh start first" >&2; exit 125; }
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=$(cat "$state/display")
output=$(mktemp)
trap 'rm -f "$output"' EXIT
status=0
wine "$@" </dev/null >"$output" 2>&1 || status=$?
cat "$output"
exit "$status"
