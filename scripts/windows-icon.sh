#!/usr/bin/env bash
# Draws packaging/windows/dravix.ico, the Windows program's icon, from packaging/dravix.svg: one
# image for each size that Windows shows. The icon is committed, so that a build needs no image
# tools; run this after a change of the SVG.
set -euo pipefail
preset=none
source "$(dirname "$0")/setup.sh" librsvg2-bin imagemagick
cd "$root"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
images=()
for size in 16 20 24 32 40 48 64 256; do
    rsvg-convert -w "$size" -h "$size" -o "$work/$size.png" packaging/dravix.svg
    images+=("$work/$size.png")
done
convert "${images[@]}" packaging/windows/dravix.ico
identify packaging/windows/dravix.ico
