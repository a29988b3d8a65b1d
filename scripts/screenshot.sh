#!/usr/bin/env bash
# Screenshots of the three windows under Xvfb and openbox, at scale 1 and 2, into docs/:
# main-1x.png, chooser-1x.png, values-1x.png, the same with -2x, and screenshot.png (main, 1x).
# On the way it checks that a message of the value-file dialog leaves the keyboard to the dialog.
# Usage: scripts/screenshot.sh [build folder]   (default build/default)
set -euo pipefail
preset=none
source "$(dirname "$0")/setup.sh" xvfb openbox xdotool x11-utils imagemagick
build=${1:-$root/build/default}
docs=$root/docs
work=$(mktemp -d)
source "$root/scripts/desktop.sh"
trap 'kill ${app:-} 2>/dev/null || true; stop_desktop; rm -rf "$work"' EXIT

cp "$root"/examples/*.set "$work"/
record='konfig=regulator-rt8.set\r\nparametr1=215\r\nparametr2=15\r\nparametr3=-3\r\nparametr4=1200\r\nparametr5=30\r\nparametr6=-250\r\nparametr7=0\r\nparametr8=0\r\nwybor1=0\r\nwybor2=0\r\nzestaw= 1\r\n'
printf "$record" >"$work/pomiar-rano.vq"
printf "$record" >"$work/pomiar-wieczor.vq"
printf "$record" >"$work/.kopia.vq"

start_desktop 1600x1100

# Clicks at a point given in the window's own pixels at scale 1.
click() {
    xdotool mousemove --window "$1" $(($2 * scale)) $(($3 * scale)) click 1
    sleep 0.5
}
# The window with its frame, as the desktop shows it.
shoot() {
    sleep 0.5
    import -frame -window "$1" "$work/shot.png"
    convert "$work/shot.png" -strip +dither -colors 48 -define png:compression-level=9 "$2"
    echo "wrote $2"
}

for scale in 1 2; do
    printf "$record" >"$work/sesja.dat"
    (cd "$work" && QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale exec "$build/app/dravix") &
    app=$!
    main=$(window_named "^Dravix - regulator-rt8.set$")
    shoot "$main" "$docs/main-${scale}x.png"
    click "$main" 401 426 # KONFIGURACJA
    shoot "$(window_named "^Dravix - wybór pliku$")" "$docs/chooser-${scale}x.png"
    click "$main" 553 426 # ODCZYT/ZAPIS SESJI, which closes the chooser
    values=$(window_named "^Dravix - Zapis/odczyt$")
    click "$values" 60 50 # the first value file
    shoot "$values" "$docs/values-${scale}x.png"
    if [ "$scale" = 1 ]; then
        click "$values" 150 173 # the name box
        xdotool key ctrl+a type brak
        click "$values" 256 211 # USUŃ: no such file, a message
        [ "$(xdotool getactivewindow getwindowname)" = Dravix ] || { echo "no message" >&2; exit 1; }
        xdotool key Return
        sleep 0.5
        active=$(xdotool getactivewindow getwindowname)
        [ "$active" = "Dravix - Zapis/odczyt" ] || { echo "after OK: $active" >&2; exit 1; }
        echo "after the message the dialog has the keyboard"
    fi
    kill "$app"
    wait "$app" 2>/dev/null || true
done
cp "$docs/main-1x.png" "$docs/screenshot.png"
