#!/usr/bin/env bash
# What a screen reader finds in the real program: under Xvfb and openbox, on a session bus of its
# own with the accessibility bus (at-spi2-core), Dravix starts in a scratch folder with the sample
# descriptions and a state file that chooses one; its three windows and a message box are opened
# from the keyboard, each window's accessible tree is printed (role, name, and for a focusable
# control its text, description and caption), and the check fails on a focusable control without
# a name, on a control that Tab does not reach, and when OK does not give the focus back.
# Usage: scripts/accessibility-check.sh [build folder]   (default build/default)
set -euo pipefail
source "$(dirname "$0")/setup.sh" xvfb openbox xdotool x11-utils at-spi2-core python3-pyatspi \
    dbus-daemon
build=$(cd "${1:-$root/build/default}" && pwd)
work=$(mktemp -d)
source "$root/scripts/desktop.sh"
trap 'stop_desktop; rm -rf "$work"' EXIT

cp "$root"/examples/*.set "$work"/
# Port 1 is an adapter that is not plugged in.
ln -s /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K-if00-port0 "$work/COM1"
# Set 1 of the temperature regulator, its third value beyond its range -50..50.
printf 'konfig=regulator-rt8.set\r\nparametr1=215\r\nparametr2=15\r\nparametr3=-75\r\nparametr4=1200\r\nparametr5=30\r\nparametr6=-150\r\nparametr7=1\r\nparametr8=0\r\nwybor1=0\r\nwybor2=0\r\nzestaw= 1\r\n' \
    >"$work/sesja.dat"

start_desktop 1280x1024
# Debian's own Python, which has the bindings.
dbus-run-session -- /usr/bin/python3 "$root/scripts/accessibility-tree.py" \
    "$build/app/dravix" "$work"
