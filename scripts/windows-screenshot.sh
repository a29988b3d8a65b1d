#!/usr/bin/env bash
# The Windows program's three windows under Wine, with the fonts Wine has: docs/windows-main.png,
# and build/windows/screenshots/ with the main window (also with the port's note and with a
# message), the chooser and the value-file dialog (also with a message); and the main window at
# 120 and 144 dpi, docs/windows-main-<dpi>.png. Needs the folder that
# scripts/windows-check.sh deploys.
set -euo pipefail
preset=none
source "$(dirname "$0")/setup.sh" wine64 xvfb x11-utils openbox xdotool xclip imagemagick
cd "$root"
folder=$root/build/windows/packaging/windows/package/Dravix
[ -f "$folder/dravix.exe" ] || { echo "no $folder/dravix.exe: run scripts/windows-check.sh"; exit 1; }
shots=$root/build/windows/screenshots
work=$shots/folder
rm -rf "$shots"
mkdir -p "$work"

source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_prefix
wine_session_display
wine_session_ports 1 ""

cp examples/*.set "$work"/
record='konfig=regulator-rt8.set\r\nparametr1=215\r\nparametr2=15\r\nparametr3=-3\r\nparametr4=1200\r\nparametr5=30\r\nparametr6=-250\r\nparametr7=0\r\nparametr8=0\r\nwybor1=0\r\nwybor2=0\r\nzestaw= 1\r\n'
printf "$record" >"$work/sesja.dat"
printf "$record" >"$work/pomiar-rano.vq"
printf "$record" >"$work/pomiar-wieczor.vq"

click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.7
}
# The window with its frame, as the desktop shows it.
shoot() {
    sleep 0.7
    import -frame -window "$1" "$shots/shot.png"
    convert "$shots/shot.png" -strip +dither -colors 64 -define png:compression-level=9 "$2"
    echo "wrote $2"
}
# The whole screen, message box included.
shootScreen() {
    sleep 0.7
    import -window root -crop 900x620+190+200 +repage "$shots/shot.png"
    convert "$shots/shot.png" -strip -define png:compression-level=9 "$1"
    echo "wrote $1"
}

# dravix.exe in the scratch folder, its main window $main moved to a place on the screen.
startAt() {
    (cd "$work" && exec "$wine" "$folder/dravix.exe") &
    session_pids+=($!)
    main=$(window_named "^Dravix - regulator-rt8.set$")
    xdotool windowmove "$main" "$1" "$2"
}

startAt 250 260
shoot "$main" "$shots/main.png"
xdotool mousemove --window "$main" 120 384 # over "Port niedostępny!": its note
sleep 1.5
shootScreen "$shots/main-note.png"
click "$main" 97 426 # ODCZYT DANYCH: port 1 maps nothing here, a message
shootScreen "$shots/main-message.png"
xdotool key Return
click "$main" 401 426 # KONFIGURACJA
shoot "$(window_named "^Dravix - wybór pliku$")" "$shots/chooser.png"
click "$main" 553 426 # ODCZYT/ZAPIS SESJI, which closes the chooser
values=$(window_named "^Dravix - Zapis/odczyt$")
click "$values" 60 50 # the first value file
shoot "$values" "$shots/values.png"
click "$values" 150 173 # the name box
xdotool key ctrl+a type brak
click "$values" 256 211 # USUŃ: no such file, a message
shootScreen "$shots/values-message.png"
xdotool key Return
cp "$shots/main.png" docs/windows-main.png
echo "wrote docs/windows-main.png"
wine_session_stop

# The main window at 125 % and 150 % (120 and 144 dpi): docs/windows-main-<dpi>.png.
source "$root/scripts/wine-ui.sh"
wine_session_display
for dpi in 120 144; do
    setDpi "$dpi"
    startAt 40 40
    shoot "$main" "docs/windows-main-$dpi.png"
    clickControl "$main" PrzyciskWyjscie
    windowGone "^Dravix - regulator-rt8.set$"
done
setDpi 96
