# Sourced by the Windows scripts after wine-session.sh (needs $root and a display): the program's
# windows driven as a user drives them, and read back as a user reads them. Message boxes are
# read through the clipboard: Ctrl+C in a Windows message box copies its title and text. Needs
# xdotool, xclip and imagemagick.

# The display's dots per inch, as Wine's LogPixels gives them to programs.
ui_dpi=96

# Where a main-window control is, in the window's pixels: left, top, width, height, from the
# design's twips in ui/mainwindowdesign.h (1440 twips an inch).
controlPixels() {
    local left top width height
    read -r left top width height < <(sed -n \
        "s/.*Rect $1{\([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\)}.*/\1 \2 \3 \4/p" \
        ui/mainwindowdesign.h)
    echo $((left * ui_dpi / 1440)) $((top * ui_dpi / 1440)) $((width * ui_dpi / 1440)) \
        $((height * ui_dpi / 1440))
}

# Clicks the middle of a main-window control.
clickControl() {
    local window=$1 left top width height
    read -r left top width height < <(controlPixels "$2")
    xdotool mousemove --window "$window" $((left + width / 2)) $((top + height / 2)) click 1
    # Out of the way, so that no tooltip stands where a message box is looked for.
    sleep 0.3
    xdotool mousemove 1270 1010
}

# Opens a dialog from a main-window button and gives it the keyboard; its window is $dialog.
openDialog() {
    clickControl "$main" "$1"
    dialog=$(window_named "$2")
    xdotool windowactivate --sync "$dialog"
}

# Keys, each given time to arrive: Wine takes a burst of synthetic keys in a muddle.
keys() {
    xdotool key --delay 150 "$@"
    sleep 0.3
}

# Types a text through the clipboard, as xdotool's own typing cannot give Wine Polish letters.
pasteText() {
    printf '%s' "$1" | xclip -selection clipboard
    sleep 0.2
    keys ctrl+v
}

# Waits for the message box (a window titled with the program's name only), prints its text and
# dismisses it with the space bar. A message box ends any tooltip, so the window found is the box.
messageText() {
    local box text
    box=$(window_named '^Dravix$') || return 1
    for _ in $(seq 20); do
        printf '' | xclip -selection clipboard
        xdotool windowactivate --sync "$box" key ctrl+c >/dev/null 2>&1 || true
        sleep 0.2
        # ---, the title, ---, the text, ---, the buttons, ---
        text=$(xclip -o -selection clipboard 2>/dev/null | tr -d '\r' | sed -n 4p)
        [ -n "$text" ] && break
    done
    # Space, which clicks OK as it is let go: a box closed by Enter as it goes down leaves Wine
    # thinking Enter still held, and the next Enter then counts as a key's repeat.
    xdotool windowactivate --sync "$box" key space
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name '^Dravix$' >/dev/null 2>&1 || break
        sleep 0.1
    done
    printf '%s\n' "$text"
}

# Fails unless the next message box says exactly the text given.
expectMessage() {
    local said
    said=$(messageText)
    [ "$said" = "$1" ] || { echo "the message said \"$said\", not \"$1\""; return 1; }
}

# Fails when a message box shows within the seconds given.
expectNoMessage() {
    for _ in $(seq $(($1 * 10))); do
        if xdotool search --onlyvisible --name '^Dravix$' >/dev/null 2>&1; then
            echo "a message box showed: $(messageText)"
            return 1
        fi
        sleep 0.1
    done
}

# Sets the display's dots per inch for the programs started from now on.
setDpi() {
    ui_dpi=$1
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
}

# Fails unless a window is the size given at 96 dpi, scaled to the display's (within a pixel).
expectScaled() {
    local size width height
    size=$(xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: //p')
    width=$((($2 * ui_dpi + 48) / 96))
    height=$((($3 * ui_dpi + 48) / 96))
    if [ $((${size%x*} - width)) -gt 1 ] || [ $((width - ${size%x*})) -gt 1 ] \
        || [ $((${size#*x} - height)) -gt 1 ] || [ $((height - ${size#*x})) -gt 1 ]; then
        echo "a window of ${2}x$3 at 96 dpi is $size at $ui_dpi dpi, not ${width}x$height"
        return 1
    fi
}

# Whether the main window shows "Port niedostępny!": light red text in the label's box.
portInfoShown() {
    local left top width height shown
    read -r left top width height < <(controlPixels lPortInfo)
    shown=$(import -window "$1" png:- | convert png:- -crop "${width}x${height}+${left}+${top}" \
        +repage -fuzz 25% -fill black +opaque '#FF8080' -fill white -opaque '#FF8080' \
        -colorspace gray -format '%[fx:int(mean*w*h)]' info:)
    [ "$shown" -gt 20 ]
}

# Waits for a window to close, or for the Wine process of a program to end.
windowGone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    echo "the window $1 stayed"
    return 1
}
ended() {
    for _ in $(seq 100); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    echo "the program did not end"
    return 1
}

# The processor time (clock ticks) that a process and all its descendants used, from the id it
# was started with: Wine's loader runs the Windows program in a child process of its own.
cpuTicks() {
    local total=0 pids=("$1") fields children
    [ -e "/proc/$1/stat" ] || { echo "no process $1" >&2; return 1; }
    while [ ${#pids[@]} -gt 0 ]; do
        read -ra fields <"/proc/${pids[0]}/stat" 2>/dev/null && total=$((total + fields[13] + fields[14]))
        children=$(cat /proc/"${pids[0]}"/task/*/children 2>/dev/null || true)
        pids=("${pids[@]:1}" $children)
    done
    echo "$total"
}

# The whole screen, for a look at what went wrong.
screenTo() {
    import -window root "$1" 2>/dev/null && echo "screen: $1" || true
}
