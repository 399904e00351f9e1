#!/usr/bin/env bash
# Runs a command on a private Xvfb display of its own, started with -noreset
# (so that it keeps its state between clients) and stopped by its process id.
#
#   with_xvfb.sh COMMAND [ARGUMENT...]
set -uo pipefail
number=$(mktemp)
trap 'rm -f "$number"' EXIT
exec {fd}>"$number"
Xvfb -displayfd "$fd" -noreset -nolisten tcp -screen 0 1024x768x24 >/dev/null 2>&1 &
server=$!
exec {fd}>&-
for _ in $(seq 100); do
  grep -q . "$number" && break
  sleep 0.1
done
if ! grep -q . "$number"; then
  echo "Xvfb did not start" >&2
  kill "$server" 2>/dev/null
  exit 1
fi
DISPLAY=":$(tr -d '\n' < "$number")" "$@"
status=$?
kill "$server"
wait "$server" 2>/dev/null
exit $status
