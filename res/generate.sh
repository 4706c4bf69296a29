#!/bin/sh
# Regenerates every picture of the widget from the drawing code in res/tools/.
# Needs python3 (standard library only) and rsvg-convert (Debian: librsvg2-bin).
# The output is deterministic: run it, look at res/*.png, commit res/ as a whole.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
command -v rsvg-convert >/dev/null || { echo "rsvg-convert missing (apt-get install librsvg2-bin)" >&2; exit 1; }
command -v python3 >/dev/null || { echo "python3 missing" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
PYTHONDONTWRITEBYTECODE=1 python3 "$here/tools/make_artwork.py" "$here" "$work"
# keep the intermediate SVGs when asked, for looking at one scene in an editor
if [ "${KEEP_SVG:-}" != "" ]; then mkdir -p "$KEEP_SVG" && cp "$work"/*.svg "$KEEP_SVG"/; fi
echo "res/: $(cd "$here" && ls ./*.png ./*.bmp ./*.ico ./*.cur | wc -l) picture files written"
