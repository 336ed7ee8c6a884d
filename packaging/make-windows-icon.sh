#!/usr/bin/env bash
# Renders the icon's artwork, org.tychobvr.TychoBVR.svg, into the Windows icon committed beside it,
# tychobvr.ico, with 16, 32, 48 and 256 px images.
# Needs rsvg-convert (librsvg2-bin) and icotool (icoutils).
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 32 48 256; do
  rsvg-convert -w "$size" -h "$size" org.tychobvr.TychoBVR.svg -o "$work/$size.png"
done
# The small images as bitmaps, which every Windows shows; the large one as PNG, which keeps it small.
icotool -c -o tychobvr.ico "$work/16.png" "$work/32.png" "$work/48.png" -r "$work/256.png"
