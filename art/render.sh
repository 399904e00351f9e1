#!/bin/sh
# Regenerates every PNG below images/ and art/zentara.ico from the sources in art/.
# Needs python3 and rsvg-convert (Debian package librsvg2-bin).
# Extra arguments go to render.py, e.g. --preview /tmp/zentara-preview
set -eu
here=$(cd "$(dirname "$0")" && pwd)
python3 "$here/render.py" "$@"
python3 "$here/check_geometry.py" "$here/../images" --ico "$here/zentara.ico"
