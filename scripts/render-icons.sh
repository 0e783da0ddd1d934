#!/usr/bin/env bash
# Renders the program's icon into the PNG sizes the desktop's icon theme looks for. Run after editing
# packaging/icons/org.brindledx.BrindleDX.svg, and commit the PNGs with it: the build does not need
# rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
icons=$(cd "$(dirname "$0")/../packaging/icons" && pwd)
for size in 16 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$icons/org.brindledx.BrindleDX.svg" -o "$icons/org.brindledx.BrindleDX-$size.png"
done
