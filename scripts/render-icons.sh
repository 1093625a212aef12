#!/bin/sh
# Renders the bitmap sizes of Tarvel's icon from its SVG. The PNGs are kept
# in the repository, so building needs no SVG renderer; run this after
# changing dist/icons/tarvel.svg (needs rsvg-convert: apt install librsvg2-bin).
set -eu
cd "$(dirname "$0")/../dist/icons"
for size in 48 256; do
    rsvg-convert --width "$size" --height "$size" tarvel.svg --output "tarvel-$size.png"
done
