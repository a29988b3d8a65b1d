#!/usr/bin/env bash
# Dravix for Windows, checked here with MinGW-w64 and Wine; installs what it needs.
# - The toolkit-free core: every toolkit-free source compiles for Windows, the libraries and the
#   fuzz targets' replay programs are cross-built (build/windows-core) and the replays run.
# - The program against Qt 6 for Windows (build/windows): built without a warning, its tests run
#   under Wine, its folder, installer and zip made, and every DLL they import at hand.
# - Under Wine and Xvfb with a window manager, the real dravix.exe as a technician uses it, with
#   dravix-sim on COM12: a read and a write (frames and state file byte for byte), the port's
#   control lines and errors, the state kept between runs, a value file with Polish letters saved,
#   loaded and deleted, a write refused for a rejected entry, a description chosen, a missing COM
#   number refused with its note, a save that meets another program's hold on sesja.dat, a
#   device that goes in the middle of a read, and the windows at 96, 120 and 144 dpi.
# - The installer installed silently, the program started as its shortcut starts it, the
#   uninstaller leaving nothing of its own, and an upgrade over an older version.
# Verdicts come from files, frames, window titles and sizes, and the messages' texts.
# Qt for Windows: $QT_WINDOWS_PREFIX (unpacked), else the tarball $QT_WINDOWS_TARBALL, else
# qt6.*-mingw-w64-x86_64.tar.xz in ../shared/qt6-windows/.
set -euo pipefail
preset=none
source "$(dirname "$0")/setup.sh" g++-mingw-w64-x86-64-posix wine64 nsis xvfb x11-utils \
    openbox xdotool xclip imagemagick xz-utils
cd "$root"
started=$(date +%s)
stage() { echo "== $1 ($(($(date +%s) - started)) s)"; }

source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_prefix
wine_session_display
wine_session_ports 12 ""

stage "the toolkit-free core"
compiler=x86_64-w64-mingw32-g++-posix
includes=(-Imodel -Ilink -Ipersist -Iui -Itools/sim -Ifuzz -Itests/support)
# Each platform file has its counterpart for Windows; the simulator's terminal is Unix-only.
mapfile -t sources < <(git ls-files 'model/*.cpp' 'link/*.cpp' 'persist/*.cpp' 'ui/*.cpp' \
    'tools/sim/*.cpp' 'fuzz/*.cpp' \
    | grep -v -e '^link/qt/' -e '^ui/widgets/' -e '_posix\.cpp$' -e '_iconv\.cpp$' \
        -e '^tools/sim/main\.cpp$')
for source in "${sources[@]}"; do
    "$compiler" -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic "${includes[@]}" "$source"
done
echo "windows syntax check: ${#sources[@]} toolkit-free sources compile with $compiler"

[ -f build/windows-core/build.ninja ] || cmake --preset windows-core
nice cmake --build --preset windows-core --parallel 2
ctest --preset windows-core "$@"

stage "Qt for Windows"
qt=${QT_WINDOWS_PREFIX:-}
if [ -z "$qt" ]; then
    tarball=${QT_WINDOWS_TARBALL:-}
    if [ -z "$tarball" ]; then
        shared=$root/../shared/qt6-windows
        [ ! -d "$shared" ] || tarball=$(find "$shared" -maxdepth 1 \
            -name 'qt6.*-mingw-w64-x86_64.tar.xz' | sort | tail -n 1)
    fi
    if [ -n "${QT_WINDOWS_TARBALL:-}" ] && [ ! -f "$tarball" ]; then
        echo "QT_WINDOWS_TARBALL names no file: $tarball" >&2
        exit 1
    fi
    if [ -z "$tarball" ]; then
        # Only the core can be checked without it; say so loudly rather than fail the rest of CI.
        echo "SKIPPED: the Windows program, its tests under Wine, the installer and the COM12" \
            "check. No Qt 6 for Windows here: set QT_WINDOWS_PREFIX to an unpacked one or" \
            "QT_WINDOWS_TARBALL to qt6.*-mingw-w64-x86_64.tar.xz, or put that tarball into" \
            "../shared/qt6-windows/" >&2
        exit 0
    fi
    qt=$root/build/qt6-windows
    # Unpacked once, again whenever the tarball's bytes change (a rebuilt Qt keeps its name).
    stamp="$(basename "$tarball") $(sha256sum "$tarball" | cut -d' ' -f1)"
    if [ "$(cat "$qt/.tarball" 2>/dev/null)" != "$stamp" ]; then
        rm -rf "$qt"
        tar -C build -xJf "$tarball"
        [ -f "$qt/bin/Qt6Core.dll" ] || { echo "$tarball holds no qt6-windows/bin/Qt6Core.dll"; exit 1; }
        echo "$stamp" >"$qt/.tarball"
    fi
fi
export QT_WINDOWS_PREFIX=$qt
echo "Qt for Windows: $qt ($(cat "$qt/.tarball" 2>/dev/null || echo "unpacked elsewhere"))"
# The recipe beside the tarball says which of Qt's own fixes its Qt SerialPort carries.
sources=$(dirname "${tarball:-$qt}")/SOURCES.md
if [ -f "$sources" ] && grep -q 'QTBUG-108450' "$sources"; then
    echo "Qt SerialPort with Qt's fix for QTBUG-108450 (from 6.4.3), as $(basename "$sources") says"
else
    echo "WARNING: nothing says that this Qt SerialPort carries the fix for QTBUG-108450" >&2
fi

stage "the program for Windows"
if ! grep -qx "CMAKE_PREFIX_PATH:UNINITIALIZED=$qt" build/windows/CMakeCache.txt 2>/dev/null \
    || [ ! -f build/windows/build.ninja ]; then
    rm -f build/windows/CMakeCache.txt
    cmake --preset windows
fi
nice cmake --build --preset windows --parallel 2
nice cmake --build --preset windows --target windows_package
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
folder=build/windows/packaging/windows/package/Dravix
installer=build/windows/dravix-$version-setup.exe
zip=build/windows/dravix-$version-windows.zip

# Every DLL that the folder's programs and libraries import is in the folder or in Windows (a
# system DLL of Wine's, or one of the API sets that the loader resolves by name).
system32=$WINEPREFIX/drive_c/windows/system32
missing=$(find "$folder" -iname '*.exe' -o -iname '*.dll' | while read -r file; do
    x86_64-w64-mingw32-objdump -p "$file" | sed -n "s/^\tDLL Name: //p" \
        | grep -v -i -e '^api-ms-win-' -e '^ext-ms-win-' | while read -r dll; do
        [ -n "$(find "$folder" "$system32" -maxdepth 2 -iname "$dll" -print -quit)" ] \
            || echo "$(basename "$file") imports $dll"
    done
done)
[ -z "$missing" ] || { echo "$missing"; echo "the folder lacks DLLs"; exit 1; }
echo "deployment: every DLL imported in $folder is there or in Windows"

stage "the tests under Wine"
ctest --preset windows "$@"

sim=build/default/tools/dravix-sim
work=build/windows/e2e
[ -f build/default/build.ninja ] || cmake --preset default
nice cmake --build --preset default --target dravix-sim
rm -rf "$work"
mkdir -p "$work/sim" "$work/folder"
source "$root/scripts/wine-ui.sh"
trap 'screenTo "$root/$work/failure.png"; wine_session_stop' EXIT

# dravix-sim on a new pseudo-terminal, mapped in Wine as COM12.
startSim() {
    rm -f "$work/sim.log"
    (cd "$work/sim" && exec "$root/$sim" --port 12 --id 05 "$@" >../sim.log 2>&1) &
    simulator=$!
    session_pids+=($simulator)
    for _ in $(seq 50); do
        grep -q '^ready' "$work/sim.log" 2>/dev/null && break
        sleep 0.1
    done
    wine_session_ports 12 "$(readlink "$work/sim/COM12")"
}
# The frames that the simulator received and sent, without their times.
frames() { sed -n 's/^[0-9:.]* \(rx\|tx\|discarded\) /\1 /p' "$work/sim.log"; }
# dravix.exe from the deployed folder in the working folder, as a shortcut starts it; its main
# window, whose title must be the one given.
startDravix() {
    (cd "$work/folder" && exec "$wine" "$root/$folder/dravix.exe") &
    dravix=$!
    session_pids+=($dravix)
    main=$(window_named '^Dravix - ')
    local title
    title=$(xdotool getwindowname "$main")
    [ "$title" = "$1" ] || { echo "title: $title, not $1"; return 1; }
}
closeDravix() {
    clickControl "$main" PrzyciskWyjscie
    ended "$dravix"
}

# Windows-1250 with CR LF, as every file of the program.
windowsText() { sed 's/$/\r/' | iconv -f UTF-8 -t CP1250; }
# A description: its file name, ID and ports; eight slots in use over the whole 16-bit range.
writeDescription() {
    local name=$1 id=$2 port
    shift 2
    {
        echo "tytul=MODEL URZĄDZENIA: próba pod Wine ($name)"
        echo "ID=$id"
        for port in "$@"; do echo "dodajport=$port"; done
        echo "dodajparam=9600,n,8,1"
        for slot in 1 2 3 4 5 6 7 8; do
            echo "nazwa$slot=Parametr $slot:"
            echo "zakresmin$slot=-32768"
            echo "zakresmax$slot=32767"
            echo "aktywny$slot=1"
        done
    } | windowsText >"$work/folder/$name"
}
# The record of the state file and the value files: description, port and line-settings list
# positions, set, and the eight values.
record() {
    local description=$1 port=$2 speed=$3 set=$4 slot=1 value
    shift 4
    {
        echo "konfig=$description"
        for value in "$@"; do
            echo "parametr$slot=$value"
            slot=$((slot + 1))
        done
        printf 'wybor1=%s\nwybor2=%s\nzestaw= %s\n' "$port" "$speed" "$set"
    } | windowsText
}
# Fails unless the file holds exactly the record given.
expectRecord() {
    local file=$1
    shift
    record "$@" >"$work/expected"
    cmp "$work/expected" "$file" || { echo "$file is not the record expected"; return 1; }
}

description="łódź.set"
other="pompa-żar.set"
values=(0 1 -1 100 300 -300 32767 -32768)
writeDescription "$description" 05 12
writeDescription "$other" 06 7 12
record "$description" 0 0 1 7 7 7 7 7 7 7 7 >"$work/folder/sesja.dat"
# The worked examples of the frames: the read request and reply for device 05 with the values
# 0, 1, -1, 100, 300, -300, 32767, -32768, then the write of those values and its reply.
readFrames='rx FF FF 01 05 00 03 51 D8
tx FF FF 01 05 00 03 00 00 00 01 FF FF 00 64 01 2C FE D4 7F FF 80 00 98 51'
writeFrames='rx FF FF 01 05 00 10 00 00 00 01 FF FF 00 64 01 2C FE D4 7F FF 80 00 65 64
tx FF FF 01 05 00 10 10 15'

stage "a read and a write against dravix-sim on COM12"
startSim --values "$(IFS=,; echo "${values[*]}")"
startDravix "Dravix - $description"
clickControl "$main" PrzyciskOdczyt
expectMessage "Parametry odczytane poprawnie!"
clickControl "$main" PrzyciskZapisz
expectMessage "Parametry zapisane do urzadzenia"
closeDravix
diff <(printf '%s\n%s\n' "$readFrames" "$writeFrames") <(frames) || { echo "the frames differ"; exit 1; }
expectRecord "$work/folder/sesja.dat" "$description" 0 0 1 "${values[@]}"
echo "end to end: COM12 read and written, frames and sesja.dat byte for byte"

stage "the port under Wine: DTR and RTS, and errors of a port that goes"
# The port's own test, given COM12 (a pseudo-terminal, which has no control lines to set).
DRAVIX_TEST_COM=12 ctest --preset windows -R '^tst_qtserialport$'
grep -q '^PASS   : tst_QtSerialPort::controlLines()' build/windows/tests/pty/tst_qtserialport.txt \
    || { echo "the control lines were not tried on COM12"; exit 1; }

stage "a technician's day: the state, value files, a rejected entry, descriptions, ports"
writes() { frames | grep -c "^${writeFrames%%$'\n'*}$" || true; }
startDravix "Dravix - $description"
# The state it closed with: the same values go out again.
clickControl "$main" PrzyciskZapisz
expectMessage "Parametry zapisane do urzadzenia"
[ "$(writes)" = 2 ] || { echo "the values of the last run were not restored"; exit 1; }

# A value file with Polish letters in its name: saved, loaded, deleted.
valueFile="pomiar-żółć.vq"
openDialog Command1 '^Dravix - Zapis/odczyt$'
keys Tab
pasteText "${valueFile%.vq}"
keys Tab Return # ZAPISZ, after the name box
for _ in $(seq 50); do [ -f "$work/folder/$valueFile" ] && break; sleep 0.1; done
expectRecord "$work/folder/$valueFile" "$description" 0 0 1 "${values[@]}"
keys Escape
windowGone '^Dravix - Zapis/odczyt$'

# A rejected entry: a write is refused, nothing is sent.
clickControl "$main" EdycjaParametru0
keys ctrl+a a b c
clickControl "$main" PrzyciskZapisz
expectMessage "Blednie wprowadzone wartosci parametrow!"
[ "$(writes)" = 2 ] || { echo "a write went out with a rejected entry"; exit 1; }

# The value file loaded with the arrows and Enter: the entry is back, the write goes out.
openDialog Command1 '^Dravix - Zapis/odczyt$'
keys Down Return
windowGone '^Dravix - Zapis/odczyt$'
clickControl "$main" PrzyciskZapisz
expectMessage "Parametry zapisane do urzadzenia"
[ "$(writes)" = 3 ] || { echo "the value file's values were not loaded"; exit 1; }

# And deleted: chosen with the arrows, then USUŃ (list, name box, ZAPISZ, WYJŚCIE, USUŃ).
openDialog Command1 '^Dravix - Zapis/odczyt$'
keys Down Tab Tab Tab Tab Return
for _ in $(seq 50); do [ -f "$work/folder/$valueFile" ] || break; sleep 0.1; done
[ ! -f "$work/folder/$valueFile" ] || { echo "$valueFile was not deleted"; exit 1; }
keys Escape
windowGone '^Dravix - Zapis/odczyt$'

# Another description from KONFIGURACJA: its list, the arrows, ODCZYT. Its first port, COM7,
# does not exist: "Port niedostępny!" and its note show, a read is refused.
openDialog PrzyciskWybor '^Dravix - wybór pliku$'
keys Down Tab Return # the first description, ODCZYT
windowGone '^Dravix - wybór pliku$'
clickControl "$main" NumerPortu
keys Return # the list opens on its first entry, port 7
portInfoShown "$main" || { echo "no \"Port niedostępny!\" for COM7"; exit 1; }
read -r left top width height < <(controlPixels lPortInfo)
# Into the label from beside it: a tooltip follows the mouse's moves, not its jumps.
xdotool mousemove --window "$main" $((left + 4)) $((top + height / 2))
sleep 0.3
xdotool mousemove --window "$main" $((left + width / 2)) $((top + height / 2))
note=""
for _ in $(seq 30); do
    for window in $(xdotool search --onlyvisible --name '^Dravix$' 2>/dev/null); do
        [ "$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: [0-9]*x//p')" -gt 40 ] \
            && note=$window
    done
    [ -n "$note" ] && break
    sleep 0.2
done
[ -n "$note" ] || { echo "no note under \"Port niedostępny!\""; exit 1; }
import -window "$note" "$work/port-note.png"
xdotool mousemove 1270 1010
clickControl "$main" PrzyciskOdczyt
expectMessage "Port szeregowy niedostepny!"
clickControl "$main" NumerPortu
keys Down Return # the next entry, port 12
! portInfoShown "$main" || { echo "\"Port niedostępny!\" stayed for COM12"; exit 1; }
clickControl "$main" PrzyciskOdczyt
expectMessage "Niewlasciwy kod urzadzenia!"
frames | grep -q '^rx FF FF 01 06 00 03 ' || { echo "no read for device 06"; exit 1; }
closeDravix
expectRecord "$work/folder/sesja.dat" "$other" 1 -1 1 0 0 0 0 0 0 0 0
echo "a technician's day: state restored, value file saved, loaded and deleted, write refused," \
    "description chosen, COM7 refused with its note (build/windows/e2e/port-note.png)"

stage "a save that meets another program's hold on sesja.dat"
holder=build/windows/holdfile.exe
# Wine's drive Z: is the root of the machine.
windowsPath() { printf 'Z:%s' "$(realpath -m "$1" | tr / '\\')"; }
hold() {
    rm -f "$work/held"
    "$wine" "$root/$holder" "$(windowsPath "$work/folder/sesja.dat")" "$1" \
        "$(windowsPath "$work/held")" &
    holding=$!
    session_pids+=($holding)
    for _ in $(seq 100); do [ -f "$work/held" ] && return 0; sleep 0.05; done
    echo "the holder did not take sesja.dat"
    return 1
}
# Held for 300 ms while the window closes: the new record is there.
startDravix "Dravix - $other"
clickControl "$main" OptionZestaw2
hold 300
closeDravix
wait "$holding" 2>/dev/null || true
expectRecord "$work/folder/sesja.dat" "$other" 1 -1 2 0 0 0 0 0 0 0 0
# Held for good: the save fails with its message, the old record stays whole.
startDravix "Dravix - $other"
clickControl "$main" OptionZestaw1
hold -1
clickControl "$main" PrzyciskWyjscie
expectMessage "Niewlasciwa nazwa pliku!!!"
ended "$dravix"
kill "$holding" 2>/dev/null || true
wait "$holding" 2>/dev/null || true
expectRecord "$work/folder/sesja.dat" "$other" 1 -1 2 0 0 0 0 0 0 0 0
leftover=$(find "$work/folder" -name '.dravix-*')
[ -z "$leftover" ] || { echo "left behind: $leftover"; exit 1; }
echo "locked save: held 300 ms, saved; held for good, the message and the old record"

stage "a device that goes in the middle of a read"
kill "$simulator"
wait "$simulator" 2>/dev/null || true
startSim --silent
startDravix "Dravix - $other"
clickControl "$main" PrzyciskOdczyt
for _ in $(seq 100); do frames | grep -q '^rx ' && break; sleep 0.02; done
kill -9 "$simulator"
expectMessage "Urzadzenie nie odpowiada!"
expectNoMessage 2
before=$(cpuTicks "$dravix")
sleep 3
spent=$(($(cpuTicks "$dravix") - before))
[ "$spent" -lt 60 ] || { echo "busy after the device went: $spent ticks in 3 s"; exit 1; }
portInfoShown "$main" || { echo "the port was not tested anew after the device went"; exit 1; }
clickControl "$main" PrzyciskOdczyt
expectMessage "Port szeregowy niedostepny!"
closeDravix
echo "vanished device: one message, $spent clock ticks in 3 s idle after it, the port tested anew"
wine_session_ports 12 ""

stage "high DPI: the windows at 120, 144 and 96 dpi"
# At 125 % and 150 %, as most Windows laptops run, and at 100 %: the widget tests (every caption
# fits its box, the focus shows), and each window the design's size scaled, seen in
# build/windows/screenshots/.
shots=build/windows/screenshots
mkdir -p "$shots"
for dpi in 120 144 96; do
    setDpi "$dpi"
    ctest --preset windows -R '^(tst_mainwindow|tst_dialogwidgets)$'
    startDravix "Dravix - $other"
    expectScaled "$main" 718 456
    import -frame -window "$main" "$shots/main-$dpi.png"
    clickControl "$main" PrzyciskWybor
    dialog=$(window_named '^Dravix - wybór pliku$')
    expectScaled "$dialog" 292 187
    import -frame -window "$dialog" "$shots/chooser-$dpi.png"
    clickControl "$main" Command1
    dialog=$(window_named '^Dravix - Zapis/odczyt$')
    expectScaled "$dialog" 302 275
    import -frame -window "$dialog" "$shots/values-$dpi.png"
    keys Escape
    windowGone '^Dravix - Zapis/odczyt$'
    clickControl "$main" PrzyciskOdczyt
    box=$(window_named '^Dravix$')
    sleep 0.5
    import -frame -window "$box" "$shots/message-$dpi.png"
    expectMessage "Port szeregowy niedostepny!"
    closeDravix
    echo "$dpi dpi: the three windows and a message whole, their sizes scaled"
done

stage "the installer"
programs="$WINEPREFIX/drive_c/Program Files/Dravix"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Dravix.lnk"
documents=$wine_user/Documents/Dravix
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dravix'
# What an earlier check that broke off may have left.
rm -rf "$programs" "$shortcut" "$documents"
"$wine" reg delete "$key" /f >/dev/null 2>&1 || true

"$wine" "$installer" /S
diff -r -x uninstall.exe "$folder" "$programs" || { echo "installed files differ"; exit 1; }
[ -f "$programs/uninstall.exe" ] && [ -f "$shortcut" ] || { echo "no uninstaller or shortcut"; exit 1; }
registered=$("$wine" reg query "$key" | tr -d '\r')
for value in "DisplayName    REG_SZ    Dravix" "DisplayVersion    REG_SZ    $version" \
    "Publisher    REG_SZ    Dravix" \
    'UninstallString    REG_SZ    "C:\Program Files\Dravix\uninstall.exe"' \
    'QuietUninstallString    REG_SZ    "C:\Program Files\Dravix\uninstall.exe" /S' \
    "EstimatedSize    REG_DWORD    0x"; do
    grep -qF "    $value" <<<"$registered" || { echo "$registered"; echo "no $value"; exit 1; }
done

# Started as the shortcut starts it, with a description of the user's in Documents\Dravix.
mkdir -p "$documents"
printf 'tytul=MOJ REGULATOR\r\n' >"$documents/regulator-rt8.set"
"$wine" start 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Dravix.lnk'
main=$(window_named '^Dravix$')
cmp "$folder/examples/pompa-sp4.set" "$documents/pompa-sp4.set"
[ "$(cat "$documents/regulator-rt8.set")" = $'tytul=MOJ REGULATOR\r' ] \
    || { echo "the user's file was replaced"; exit 1; }
clickControl "$main" PrzyciskWyjscie
for _ in $(seq 100); do
    [ -f "$documents/sesja.dat" ] && break
    sleep 0.1
done
[ -f "$documents/sesja.dat" ] || { echo "Dravix did not work in Documents\\Dravix"; exit 1; }
user=$(ls "$documents")

"$wine" "C:\\Program Files\\Dravix\\uninstall.exe" /S
# The uninstaller runs on from a copy of itself.
for _ in $(seq 100); do
    [ -e "$programs" ] || break
    sleep 0.1
done
[ ! -e "$programs" ] && [ ! -e "$shortcut" ] || { echo "the uninstaller left files"; exit 1; }
! "$wine" reg query "$key" >/dev/null 2>&1 || { echo "still registered"; exit 1; }
[ "$(ls "$documents")" = "$user" ] || { echo "the uninstaller touched the user's files"; exit 1; }
echo "installer: installed silently, started by its shortcut in Documents\\Dravix, removed"

stage "an upgrade over an older version"
# The older version: this folder with one file more, as a DLL that a later version no longer
# ships; its installer is made as this one is.
old=$root/build/windows/upgrade
rm -rf "$old"
mkdir -p "$old"
cp -r "$folder" "$old/Dravix"
printf 'from an older version\r\n' >"$old/Dravix/qt6stale.dll"
cmake -DFOLDER="$old/Dravix" -DOUTPUT="$old" -P packaging/windows/nsisfiles.cmake
makensis -V2 -DVERSION=0.0.1 -DFOLDER="$old/Dravix" -DLISTS="$old" \
    -DOUTFILE="$old/dravix-0.0.1-setup.exe" -DICON="$root/packaging/windows/dravix.ico" \
    "$root/packaging/windows/dravix.nsi"
"$wine" "$old/dravix-0.0.1-setup.exe" /S
[ -f "$programs/qt6stale.dll" ] || { echo "the older version did not install"; exit 1; }
"$wine" reg query "$key" /v DisplayVersion | grep -q '0\.0\.1' || { echo "0.0.1 not registered"; exit 1; }
# The user's files: in the working folder, and one left in the program's folder.
mkdir -p "$documents"
printf 'tytul=MOJ REGULATOR\r\n' >"$documents/mój-regulator.set"
printf 'notatki\r\n' >"$programs/notatki.txt"
before=$(cd "$wine_user/Documents" && find Dravix -type f -exec md5sum {} + | sort)
"$wine" "$installer" /S
[ ! -e "$programs/qt6stale.dll" ] || { echo "the upgrade left qt6stale.dll"; exit 1; }
diff -r -x uninstall.exe -x notatki.txt "$folder" "$programs" \
    || { echo "the upgraded files differ"; exit 1; }
[ -f "$programs/uninstall.exe" ] && [ -f "$shortcut" ] || { echo "no uninstaller or shortcut"; exit 1; }
[ "$(cat "$programs/notatki.txt")" = $'notatki\r' ] || { echo "the user's file went"; exit 1; }
[ "$(cd "$wine_user/Documents" && find Dravix -type f -exec md5sum {} + | sort)" = "$before" ] \
    || { echo "the upgrade touched Documents\\Dravix"; exit 1; }
"$wine" reg query "$key" /v DisplayVersion | grep -q "$version" || { echo "$version not registered"; exit 1; }
"$wine" "C:\\Program Files\\Dravix\\uninstall.exe" /S
for _ in $(seq 100); do
    [ "$(ls "$programs")" = notatki.txt ] && break
    sleep 0.1
done
[ "$(ls "$programs")" = notatki.txt ] || { echo "after the uninstaller: $(ls "$programs")"; exit 1; }
rm -rf "$programs" "$documents"
echo "upgrade: 0.0.1 with qt6stale.dll, then $version over it: the stale file gone, the user's files kept"

wine_session_stop
trap - EXIT
stage "done"
echo "figures: installer $(stat -c %s "$installer") bytes, zip $(stat -c %s "$zip") bytes," \
    "folder $(du -sb "$folder" | cut -f1) bytes; $(($(date +%s) - started)) s in all"
