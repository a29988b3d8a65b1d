#!/usr/bin/env bash
# A screenshot of the note under "Port niedostępny!" (its tooltip) under Xvfb and openbox, for a
# COM1 link to an adapter that is not plugged in: docs/port-note.png.
# Usage: scripts/port-note-screenshot.sh [build folder]   (default build/default)
set -euo pipefail
preset=none
source "$(dirname "$0")/setup.sh" xvfb openbox xdotool x11-utils imagemagick
build=${1:-$root/build/default}
out=$root/docs/port-note.png
adapter=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K-if00-port0
work=$(mktemp -d)
source "$root/scripts/desktop.sh"
trap 'kill ${app:-} 2>/dev/null || true; stop_desktop; rm -rf "$work"' EXIT

[ ! -e "$adapter" ] || { echo "this machine has $adapter: the note would say it opened"; exit 1; }
cp "$root"/examples/*.set "$work"/
printf 'konfig=regulator-rt8.set\r\nparametr1=215\r\nparametr2=15\r\nparametr3=-3\r\nparametr4=1200\r\nparametr5=30\r\nparametr6=-250\r\nparametr7=0\r\nparametr8=0\r\nwybor1=0\r\nwybor2=0\r\nzestaw= 1\r\n' >"$work/sesja.dat"
ln -s "$adapter" "$work/COM1"

# A white root, so that cropping to what is not root keeps the tooltip's black frame.
start_desktop 1000x700 -wr
(cd "$work" && QT_QPA_PLATFORM=xcb exec "$build/app/dravix") &
app=$!
window=$(xdotool search --sync --onlyvisible --name '^Dravix - regulator-rt8.set$' | head -1)
sleep 1
# The middle of lPortInfo: [1080, 5640, 1665, 240] twips are 72, 376, 111 x 16 pixels.
xdotool mousemove --window "$window" 127 384
sleep 0.3
xdotool mousemove --window "$window" 128 384
sleep 2
import -window root "$work/root.png"
# The window with its frame and the tooltip, which reaches beyond the window.
convert "$work/root.png" -trim +repage -strip +dither -colors 64 \
    -define png:compression-level=9 "$out"
echo "wrote $out"
