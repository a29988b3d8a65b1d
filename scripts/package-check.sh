#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine with apt-get, proves that the
# installed programs work, then removes the package. Run as root or as a user with sudo.
preset=release
source "$(dirname "$0")/setup.sh" dpkg-dev file

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
build=$root/build/release
work=$(mktemp -d)
app=""
cleanup() {
    [ -z "$app" ] || kill "$app" 2>/dev/null || true
    if dpkg-query -W -f='${Status}' dravix 2>/dev/null | grep -q 'install ok installed'; then
        $sudo apt-get remove -y -qq dravix >/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "package check FAILED: $*" >&2
    exit 1
}

rm -f "$build"/dravix_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(cd "$build" && ls dravix_*.deb)
echo "built $deb"
dpkg-deb --field "$build/$deb" Package Version Section Maintainer Depends

(cd "$build" && $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb") \
    >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get install ./$deb"; }
dpkg-query -W -f='${Status}\n' dravix | grep -q 'install ok installed' || fail "not installed"

for file in /usr/bin/dravix /usr/bin/dravix-sim /usr/share/applications/dravix.desktop \
    /usr/share/icons/hicolor/scalable/apps/dravix.svg /usr/share/dravix/examples/pompa-sp4.set \
    /usr/share/dravix/examples/regulator-rt8.set; do
    [ -f "$file" ] || fail "$file is missing"
done
if ldd /usr/bin/dravix /usr/bin/dravix-sim | grep 'not found'; then
    fail "a shared library is missing"
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate /usr/share/applications/dravix.desktop || fail "menu entry"
fi

/usr/bin/dravix-sim --help >"$work/sim-help.txt" || fail "dravix-sim --help"
grep -q -- '--port' "$work/sim-help.txt" || fail "dravix-sim --help lists no --port"
echo "dravix-sim --help: ok"

# The installed program starts in an empty folder and keeps running; ended by a signal, it
# neither writes sesja.dat (only closing the window does) nor leaves any other file behind.
mkdir "$work/run"
(cd "$work/run" && QT_QPA_PLATFORM=offscreen exec /usr/bin/dravix) 2>"$work/dravix.err" &
app=$!
sleep 1
kill -0 "$app" 2>/dev/null || { cat "$work/dravix.err" >&2; fail "dravix did not keep running"; }
kill -TERM "$app"
status=0
wait "$app" || status=$?
app=""
[ "$status" -eq 143 ] || { cat "$work/dravix.err" >&2; fail "dravix ended with $status"; }
[ -z "$(ls -A "$work/run")" ] || fail "dravix left files: $(ls -A "$work/run")"
echo "dravix ran offscreen in an empty folder for 1 s and ended on SIGTERM: ok"

$sudo apt-get remove -y -qq dravix >/dev/null
[ ! -e /usr/bin/dravix ] || fail "/usr/bin/dravix is still there after removal"
echo "package check passed: $deb installed, run and removed"
