#!/usr/bin/env bash
# Takes a screenshot of the main window under Xvfb: docs/screenshot.png.
# Usage: scripts/screenshot.sh [build folder]   (default build/default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/default}
out=$root/docs/screenshot.png
work=$(mktemp -d)
trap 'kill ${app:-} ${xvfb:-} 2>/dev/null || true; rm -rf "$work"' EXIT

cp "$root"/examples/*.set "$work"/
printf 'konfig=regulator-rt8.set\r\nparametr1=215\r\nparametr2=15\r\nparametr3=-3\r\nparametr4=1200\r\nparametr5=30\r\nparametr6=-250\r\nparametr7=0\r\nparametr8=0\r\nwybor1=0\r\nwybor2=0\r\nzestaw= 1\r\n' >"$work/sesja.dat"

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 900x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
(cd "$work" && DISPLAY=$display QT_QPA_PLATFORM=xcb exec "$build/app/dravix") &
app=$!
sleep 2
DISPLAY=$display import -window root "$work/root.png"
# Crop to the window: the main window is 718 x 456 pixels, centred on the screen.
convert "$work/root.png" -trim +repage "$out"
echo "wrote $out"
