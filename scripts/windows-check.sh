#!/usr/bin/env bash
# Dravix for Windows, checked here with MinGW-w64 and Wine; installs what it needs.
# - The toolkit-free core: every toolkit-free source compiles for Windows, the libraries and the
#   fuzz targets' replay programs are cross-built (build/windows-core) and the replays run.
# - The program against Qt 6 for Windows (build/windows): built without a warning, its tests run
#   under Wine, its folder, installer and zip made, and every DLL they import at hand.
# - Under Wine and Xvfb: dravix-sim on COM12, read and written from the program as a user does
#   it, frames and state file byte for byte; the installer installed silently, the program
#   started as its shortcut starts it, and the uninstaller leaving nothing of its own.
# Qt for Windows: $QT_WINDOWS_PREFIX (unpacked), else the tarball $QT_WINDOWS_TARBALL, else
# qt6.*-mingw-w64-x86_64.tar.xz in ../shared/qt6-windows/ or /work/shared/qt6-windows/.
set -euo pipefail
preset=none
source "$(dirname "$0")/setup.sh" g++-mingw-w64-x86-64-posix wine64 nsis xvfb x11-utils \
    openbox xdotool xz-utils
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
        for folder in "$root/../shared/qt6-windows" /work/shared/qt6-windows; do
            [ -d "$folder" ] || continue
            tarball=$(find "$folder" -maxdepth 1 -name 'qt6.*-mingw-w64-x86_64.tar.xz' \
                | sort | tail -n 1)
            [ -n "$tarball" ] && break
        done
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
    # Unpacked once, again only when the tarball is another.
    stamp="$(cd "$(dirname "$tarball")" && pwd)/$(basename "$tarball") $(stat -c '%s %Y' "$tarball")"
    if [ "$(cat "$qt/.tarball" 2>/dev/null)" != "$stamp" ]; then
        rm -rf "$qt"
        tar -C build -xJf "$tarball"
        [ -f "$qt/bin/Qt6Core.dll" ] || { echo "$tarball holds no qt6-windows/bin/Qt6Core.dll"; exit 1; }
        echo "$stamp" >"$qt/.tarball"
    fi
fi
export QT_WINDOWS_PREFIX=$qt
echo "Qt for Windows: $qt"

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
stage "a read and a write against dravix-sim on COM12"
[ -f build/default/build.ninja ] || cmake --preset default
nice cmake --build --preset default --target dravix-sim
rm -rf "$work"
mkdir -p "$work/sim" "$work/folder"
(cd "$work/sim" && exec "$root/$sim" --port 12 --id 05 \
    --values 0,1,-1,100,300,-300,32767,-32768 >../sim.log 2>&1) &
session_pids+=($!)
for _ in $(seq 50); do
    grep -q '^ready' "$work/sim.log" 2>/dev/null && break
    sleep 0.1
done
terminal=$(readlink "$work/sim/COM12")
wine_session_ports 12 "$terminal"

# Windows-1250 with CR LF, as every file of the program.
windowsText() { sed 's/$/\r/' | iconv -f UTF-8 -t CP1250; }
description="łódź.set"
{
    echo "tytul=MODEL URZĄDZENIA: próba pod Wine"
    echo "ID=05"
    echo "dodajport=12"
    echo "dodajparam=9600,n,8,1"
    for slot in 1 2 3 4 5 6 7 8; do
        echo "nazwa$slot=Parametr $slot:"
        echo "zakresmin$slot=-32768"
        echo "zakresmax$slot=32767"
        echo "aktywny$slot=1"
    done
} | windowsText >"$work/folder/$description"
stateRecord() {
    echo "konfig=$description"
    local slot=1 value
    for value in "$@"; do
        echo "parametr$slot=$value"
        slot=$((slot + 1))
    done
    printf 'wybor1=0\nwybor2=0\nzestaw= 1\n'
}
stateRecord 7 7 7 7 7 7 7 7 | windowsText >"$work/folder/sesja.dat"

# Clicks the middle of a control, placed as ui/mainwindowdesign.h says (15 twips a pixel).
clickControl() {
    local window=$1 left top width height
    read -r left top width height < <(sed -n \
        "s/.*Rect $2{\([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\)}.*/\1 \2 \3 \4/p" \
        ui/mainwindowdesign.h)
    xdotool mousemove --window "$window" $(((left + width / 2) / 15)) $(((top + height / 2) / 15)) \
        click 1
}
# Waits for the message box (titled with the program's name only), dismisses it with Enter.
dismissMessage() {
    local box
    box=$(window_named '^Dravix$')
    xdotool windowactivate --sync "$box" key Return
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name '^Dravix$' >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    echo "the message box stayed"
    return 1
}
# Waits for the Wine process of a program to end.
ended() {
    for _ in $(seq 100); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    echo "the program did not end"
    return 1
}

(cd "$work/folder" && exec "$wine" "$root/$folder/dravix.exe") &
dravix=$!
session_pids+=($dravix)
main=$(window_named '^Dravix - ')
title=$(xdotool getwindowname "$main")
[ "$title" = "Dravix - $description" ] || { echo "title: $title"; exit 1; }
clickControl "$main" PrzyciskOdczyt
dismissMessage
clickControl "$main" PrzyciskZapisz
dismissMessage
clickControl "$main" PrzyciskWyjscie
ended "$dravix"

# The worked examples of the frames: the read request and reply for device 05 with the values
# 0, 1, -1, 100, 300, -300, 32767, -32768, then the write of those values and its reply.
cat >"$work/expected.log" <<'EOF'
rx FF FF 01 05 00 03 51 D8
tx FF FF 01 05 00 03 00 00 00 01 FF FF 00 64 01 2C FE D4 7F FF 80 00 98 51
rx FF FF 01 05 00 10 00 00 00 01 FF FF 00 64 01 2C FE D4 7F FF 80 00 65 64
tx FF FF 01 05 00 10 10 15
EOF
sed -n 's/^[0-9:.]* \(rx\|tx\|discarded\) /\1 /p' "$work/sim.log" >"$work/frames.log"
diff "$work/expected.log" "$work/frames.log" || { echo "the frames differ"; exit 1; }
stateRecord 0 1 -1 100 300 -300 32767 -32768 | windowsText >"$work/expected.dat"
cmp "$work/expected.dat" "$work/folder/sesja.dat" || { echo "sesja.dat differs"; exit 1; }
echo "end to end: COM12 read and written, frames and sesja.dat byte for byte"
wine_session_ports 12 ""

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

wine_session_stop
trap - EXIT
stage "done"
echo "figures: installer $(stat -c %s "$installer") bytes, zip $(stat -c %s "$zip") bytes," \
    "folder $(du -sb "$folder" | cut -f1) bytes; $(($(date +%s) - started)) s in all"
