# Sourced by the Windows scripts (needs $root): Wine's test prefix build/wineprefix, made on first
# use, whose COM ports map nothing real; a virtual screen (scripts/desktop.sh); a wineserver that
# stays up meanwhile. wine_session_stop ends all that this file started, and the processes whose
# ids the scripts add to session_pids.
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export WINEPREFIX=$root/build/wineprefix WINEDEBUG=-all
# No Mono or Gecko to offer, and no menu entries or file types made on the host for the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The Windows user's own folders (Documents, ...) inside the prefix.
wine_user=$WINEPREFIX/drive_c/users/$(id -un)
session_pids=()

wine_session_stop() {
    "$wineserver" -k 2>/dev/null || true
    if declare -F stop_desktop >/dev/null; then
        stop_desktop
    fi
    local pid
    for pid in "${session_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${session_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    session_pids=()
}

# The prefix, made once; its user folders are folders of its own, not links into $HOME.
wine_session_prefix() {
    mkdir -p "$root/build"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$wine" wineboot -i >"$root/build/wineboot.log" 2>&1 \
            || { cat "$root/build/wineboot.log"; return 1; }
        "$wineserver" -w
    fi
    local folder
    for folder in "$wine_user"/*; do
        if [ -L "$folder" ]; then
            rm "$folder"
            mkdir "$folder"
        fi
    done
}

# A virtual screen with a window manager, so that windows get the focus as on a desktop.
wine_session_display() {
    source "$root/scripts/desktop.sh"
    start_desktop 1280x1024
}

# Maps COM<number> to a device (empty: to nothing) and keeps the machine's serial ports out of
# the prefix: at each start Wine gives each of them (/dev/ttyS*, ttyUSB*, ttyACM*, counted from
# 0 while they exist) the first free COM number, unless something other than a link stands
# where that link would go. Under Wine a real UART there can hold a program's port test for good.
# Every other COM number is absent, as on a machine without it.
wine_session_ports() {
    local number=$1 device=${2:-}
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
    if [ -n "$device" ]; then
        "$wine" reg add 'HKLM\Software\Wine\Ports' /v "COM$number" /t REG_SZ /d "$device" /f \
            >/dev/null
    else
        "$wine" reg delete 'HKLM\Software\Wine\Ports' /v "COM$number" /f >/dev/null 2>&1 || true
    fi
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
    local real=0 pattern j n link
    for pattern in /dev/ttyS /dev/ttyUSB /dev/ttyACM; do
        j=0
        while [ -e "$pattern$j" ]; do
            real=$((real + 1))
            j=$((j + 1))
        done
    done
    for n in $(seq 1 256); do
        link=$WINEPREFIX/dosdevices/com$n
        if [ -L "$link" ]; then
            rm "$link"
        elif [ -d "$link" ]; then
            rmdir "$link"
        fi
    done
    [ -z "$device" ] || ln -s "$device" "$WINEPREFIX/dosdevices/com$number"
    for n in $(seq 1 256); do
        [ "$real" -gt 0 ] || break
        [ "$n" = "$number" ] && [ -n "$device" ] && continue
        mkdir "$WINEPREFIX/dosdevices/com$n"
        real=$((real - 1))
    done
    # Its own log: it dumps its objects there when a pseudo-terminal it has open hangs up.
    "$wineserver" -p >>"$root/build/wineserver.log" 2>&1
    "$wine" cmd /c exit >/dev/null 2>&1
    local mapped
    mapped=$(find "$WINEPREFIX/dosdevices" -maxdepth 1 -type l -iname 'com*' -printf '%f -> %l\n')
    if [ "$mapped" != "${device:+com$number -> $device}" ]; then
        echo "the prefix maps other COM ports: $mapped"
        return 1
    fi
}
