#!/usr/bin/env bash
# Takes a screenshot of the note under "Port niedostępny!" (its tooltip) under Xvfb with openbox,
# for a COM1 link to an adapter that is not plugged in: docs/port-note.png.
# Usage: scripts/port-note-screenshot.sh [build folder]   (default build/default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/default}
out=$root/docs/port-note.png
adapter=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K-if00-port0
work=$(mktemp -d)
trap 'kill ${app:-} ${wm:-} ${xvfb:-} 2>/dev/null || true; rm -rf "$work"' EXIT

[ ! -e "$adapter" ] || { echo "this machine has $adapter: the note would say it opened"; exit 1; }
cp "$root"/examples/*.set "$work"/
printf 'konfig=regulator-rt8.set\r\nparametr1=215\r\nparametr2=15\r\nparametr3=-3\r\nparametr4=1200\r\nparametr5=30\r\nparametr6=-250\r\nparametr7=0\r\nparametr8=0\r\nwybor1=0\r\nwybor2=0\r\nzestaw= 1\r\n' >"$work/sesja.dat"
ln -s "$adapter" "$work/COM1"

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1000x700x24 -wr -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
sleep 1
(cd "$work" && DISPLAY=$display QT_QPA_PLATFORM=xcb exec "$build/app/dravix") &
app=$!
window=$(DISPLAY=$display xdotool search --sync --onlyvisible --name '^Dravix')
sleep 1
# The middle of lPortInfo: [1080, 5640, 1665, 240] twips is 72, 376, 111 x 16 pixels.
DISPLAY=$display xdotool mousemove --window "$window" 127 384
sleep 0.3
DISPLAY=$display xdotool mousemove --window "$window" 128 384
sleep 2
DISPLAY=$display import -window root "$work/root.png"
# Crop to the window with its frame and the tooltip: everything that is not the white root.
convert "$work/root.png" -trim +repage "$out"
echo "wrote $out"
