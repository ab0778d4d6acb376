#!/bin/sh
# Renders the scalable icon into the PNG sizes that are installed beside it (16 to 256 pixels).
# Needs rsvg-convert (Debian package librsvg2-bin). Usage: render_icons.sh
set -eu
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" org.marloven.DebugUtility.svg -o "png/${size}.png"
done
