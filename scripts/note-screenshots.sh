#!/usr/bin/env bash
# Screenshots of the notes in the tooltips, under Xvfb and openbox: docs/port-note.png, the note
# under "Port niedostępny!" for a COM1 link to an adapter that is not plugged in, and
# docs/exchange-note.png, the note on "ODCZYT DANYCH" after a read through a line that echoes
# (dravix-sim --echo --silent); docs/chooser-note.png and docs/values-note.png, the notes of an
# entry of the description chooser and of the value-file dialog.
# Usage: scripts/note-screenshots.sh [build folder]   (default build/default)
set -euo pipefail
preset=none
source "$(dirname "$0")/setup.sh" xvfb openbox xdotool x11-utils imagemagick
build=${1:-$root/build/default}
adapter=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K-if00-port0
work=$(mktemp -d)
source "$root/scripts/desktop.sh"
trap 'kill ${app:-} ${sim:-} 2>/dev/null || true; stop_desktop; rm -rf "$work"' EXIT

[ ! -e "$adapter" ] || { echo "this machine has $adapter: the note would say it opened"; exit 1; }
for folder in port exchange files; do
    mkdir "$work/$folder"
    cp "$root"/examples/*.set "$work/$folder/"
    printf 'konfig=regulator-rt8.set\r\nparametr1=215\r\nparametr2=15\r\nparametr3=-3\r\nparametr4=1200\r\nparametr5=30\r\nparametr6=-250\r\nparametr7=0\r\nparametr8=0\r\nwybor1=0\r\nwybor2=0\r\nzestaw= 1\r\n' >"$work/$folder/sesja.dat"
done
ln -s "$adapter" "$work/port/COM1"
printf 'konfig=regulator-rt8.set\r\nparametr1=220\r\nparametr2=15\r\nparametr3=-3\r\nparametr4=900\r\nparametr5=30\r\nparametr6=-250\r\nparametr7=0\r\nparametr8=0\r\nwybor1=0\r\nwybor2=0\r\nzestaw= 1\r\n' >"$work/files/piec-2.vq"

# Starts Dravix in a folder of $work; its window's id goes to $window.
start_dravix() {
    (cd "$work/$1" && QT_QPA_PLATFORM=xcb exec "$build/app/dravix") >/dev/null 2>&1 &
    app=$!
    window=$(xdotool search --sync --onlyvisible --name '^Dravix - regulator-rt8.set$' | head -1)
}
# Rests the mouse on a point of the window until the tooltip shows, then takes the screen.
shoot_tooltip() {
    xdotool mousemove --window "$1" "$2" "$3"
    sleep 0.3
    xdotool mousemove --window "$1" $(($2 + 1)) "$3"
    sleep 2
    import -window root "$work/root.png"
    # The window with its frame and the tooltip, which reaches beyond the window.
    convert "$work/root.png" -trim +repage -strip +dither -colors 64 \
        -define png:compression-level=9 "$4"
    echo "wrote $4"
    kill "$app"
    wait "$app" 2>/dev/null || true
    app=""
}

# A white root, so that cropping to what is not root keeps the tooltip's black frame.
start_desktop 1000x760 -wr
# The middle of lPortInfo: [1080, 5640, 1665, 240] twips are 72, 376, 111 x 16 pixels.
start_dravix port
shoot_tooltip "$window" 127 384 "$root/docs/port-note.png"

(cd "$work/exchange" && exec "$build/tools/dravix-sim" --port 1 --id 05 --echo --silent) \
    >"$work/sim.log" 2>&1 &
sim=$!
for _ in $(seq 50); do
    grep -q '^ready' "$work/sim.log" && break
    sleep 0.1
done
start_dravix exchange
sleep 1
# ODCZYT DANYCH: [330, 6210, 2260, 360] twips are 22, 414, 151 x 24 pixels.
xdotool mousemove --window "$window" 97 426 click 1
for _ in $(seq 50); do
    [ "$(xdotool getactivewindow getwindowname 2>/dev/null)" = Dravix ] && break
    sleep 0.1
done
sleep 0.5
xdotool key Return
sleep 0.5
shoot_tooltip "$window" 96 426 "$root/docs/exchange-note.png"

# The notes of the dialogs' entries: a button of the main window at x, 426 opens the dialog of
# that title, and the pointer rests on an entry of its list.
shoot_entry_note() { # button x, dialog title, entry x, entry y, file
    start_dravix files
    xdotool mousemove --window "$window" "$1" 426 click 1
    local dialog
    dialog=$(xdotool search --sync --onlyvisible --name "^$2\$" | head -1)
    sleep 0.5
    shoot_tooltip "$dialog" "$3" "$4" "$5"
}
# KONFIGURACJA: [4890, 6210, 2260, 360] twips, at 401, 426. The second entry of PodgladPlikow
# ([270, 600, 3825, 1470] twips: from 18, 40), regulator-rt8.set.
shoot_entry_note 401 'Dravix - wybór pliku' 80 66 "$root/docs/chooser-note.png"
# ODCZYT/ZAPIS SESJI: [7170, 6210, 2260, 360] twips, at 553, 426. The first entry of ZapisPliki
# ([300, 540, 3975, 1470] twips: from 20, 36), piec-2.vq.
shoot_entry_note 553 'Dravix - Zapis/odczyt' 80 46 "$root/docs/values-note.png"
