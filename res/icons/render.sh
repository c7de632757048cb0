#!/usr/bin/env bash
# Renders the icon's PNG sizes from its SVG (Debian package librsvg2-bin). The PNGs are kept
# in the repository, so building needs no SVG renderer; run this after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "$size"
    rsvg-convert -w "$size" -h "$size" org.quarnel.Morvane.svg -o "$size/org.quarnel.Morvane.png"
done
