#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian, desktop-file-validate and appstreamcli,
# installs it on this machine with apt-get, proves that the installed programs work and that
# the menu entry starts Dravix in ~/Dravix with the samples, then leaves the machine as it found
# it: a Dravix installed before is put back, the packages this run installed are purged.
# Fails on any lintian error or warning. Run as root or as a user with sudo.
set -euo pipefail
preset=none
source "$(dirname "$0")/setup.sh" librsvg2-bin dpkg-dev dpkg-repack file lintian \
    desktop-file-utils appstream
cmake --preset release >/dev/null
cmake --build --preset release

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
apt=($sudo env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=600)
build=$root/build/release
work=$(mktemp -d)
app=""
installed_by_us=()
previous=""
previous_deb=""
previous_auto=""
fail() {
    echo "package check FAILED: $*" >&2
    exit 1
}
installed_packages() {
    dpkg-query -W -f='${db:Status-Abbrev} ${Package}:${Architecture}\n' \
        | awk '$1 == "ii" {print $2}' | sort
}
# Puts the machine back as it was; a failure to do so fails the check.
cleanup() {
    local mended=yes
    if [ -n "$app" ]; then
        kill "$app" 2>/dev/null || true
        wait "$app" 2>/dev/null || true
    fi
    if [ -n "$previous_deb" ]; then
        if "${apt[@]}" --reinstall --allow-downgrades install "$previous_deb" >"$work/apt.log" 2>&1
        then
            [ -z "$previous_auto" ] || $sudo apt-mark auto dravix >/dev/null
            echo "dravix $previous, installed before the check, is installed again"
        else
            cat "$work/apt.log" >&2
            echo "package check: could not put back dravix $previous" >&2
            mended=""
        fi
    fi
    if ((${#installed_by_us[@]})); then
        if "${apt[@]}" purge "${installed_by_us[@]}" >"$work/apt.log" 2>&1; then
            echo "purged what the check installed: ${installed_by_us[*]}"
        else
            cat "$work/apt.log" >&2
            echo "package check: could not purge ${installed_by_us[*]}" >&2
            mended=""
        fi
    fi
    rm -rf "$work"
    [ -n "$mended" ] || exit 1
}
trap cleanup EXIT
# One check at a time on this machine: each installs and removes the same package.
exec 9>/tmp/dravix-package-check.lock
flock -w 1800 9 || fail "another package check holds /tmp/dravix-package-check.lock"

rm -f "$build"/dravix_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(cd "$build" && ls dravix_*.deb)
echo "built $deb"
dpkg-deb --field "$build/$deb" Package Version Section Maintainer Depends Homepage
version=$(dpkg-deb --field "$build/$deb" Version)
[ "$version" = "$(sed -n 's/^project(Dravix VERSION \([^ ]*\) .*/\1/p' "$root/CMakeLists.txt")" ] \
    || fail "package version $version is not the project's"

# The package's own files, checked before anything is installed.
# Every tag is shown, info and pedantic ones too; errors and warnings fail the check.
lintian --tag-display-limit 0 --display-info --pedantic "$build/$deb" 2>&1 \
    | grep -v '^running with root privileges' >"$work/lintian.txt" || true
sed 's/^/lintian: /' "$work/lintian.txt"
if grep -q '^[EW]:' "$work/lintian.txt"; then
    fail "lintian reports $(grep -c '^E:' "$work/lintian.txt") error(s) and\
 $(grep -c '^W:' "$work/lintian.txt") warning(s)"
fi
echo "lintian: no error, no warning ($(grep -c '^[IP]:' "$work/lintian.txt" || true) info/pedantic)"
dpkg-deb -x "$build/$deb" "$work/root"
id=$(basename "$work"/root/usr/share/metainfo/*.metainfo.xml .metainfo.xml)
desktop-file-validate "$work/root/usr/share/applications/$id.desktop" || fail "menu entry"
echo "desktop-file-validate $id.desktop: ok"
# Pedantic hints are shown but, as infos, pass.
appstreamcli validate --no-net --pedantic "$work/root/usr/share/metainfo/$id.metainfo.xml" \
    | sed '/^$/d; s/^/appstreamcli: /' || fail "AppStream metadata"
grep -q "<release version=\"$version\"" "$work/root/usr/share/metainfo/$id.metainfo.xml" \
    || fail "the metadata's release is not $version"
for page in dravix dravix-sim; do
    zcat "$work/root/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH .* \"Dravix $version\"" \
        || fail "manual page $page(1) is not of version $version"
done

# A Dravix installed before the check is saved as a package, to be put back afterwards.
status=$(dpkg-query -W -f='${db:Status-Abbrev}' dravix 2>/dev/null || true)
case "$status" in
"" | "un "*) ;;
"ii "*)
    previous=$(dpkg-query -W -f='${Version}' dravix)
    apt-mark showauto dravix | grep -q . && previous_auto=yes
    mkdir "$work/previous"
    (cd "$work/previous" && $sudo dpkg-repack dravix >/dev/null 2>&1) \
        || fail "could not save the installed dravix $previous"
    previous_deb=$(ls "$work"/previous/dravix_*.deb)
    echo "dravix $previous is installed: saved as $(basename "$previous_deb") to put it back"
    ;;
*) fail "dravix is installed half-way (dpkg status '$status'): mend it first" ;;
esac

installed_packages >"$work/before.txt"
[ -n "$previous" ] || installed_by_us=(dravix)
(cd "$build" && "${apt[@]}" --allow-downgrades install "./$deb") >"$work/apt.log" 2>&1 \
    || { cat "$work/apt.log" >&2; fail "apt-get install ./$deb"; }
installed_packages >"$work/after.txt"
mapfile -t installed_by_us < <(comm -13 "$work/before.txt" "$work/after.txt")
dpkg-query -W -f='${Status} ${Version}\n' dravix | grep -q "install ok installed $version" \
    || fail "not installed"

for file in /usr/bin/dravix /usr/bin/dravix-sim "/usr/share/applications/$id.desktop" \
    "/usr/share/metainfo/$id.metainfo.xml" "/usr/share/icons/hicolor/scalable/apps/$id.svg" \
    "/usr/share/icons/hicolor/48x48/apps/$id.png" "/usr/share/icons/hicolor/128x128/apps/$id.png" \
    "/usr/share/icons/hicolor/256x256/apps/$id.png" /usr/share/man/man1/dravix.1.gz \
    /usr/share/man/man1/dravix-sim.1.gz /usr/share/doc/dravix/copyright \
    /usr/share/doc/dravix/changelog.gz /usr/share/dravix/examples/pompa-sp4.set \
    /usr/share/dravix/examples/regulator-rt8.set; do
    [ -f "$file" ] || fail "$file is missing"
done
for size in 48 128 256; do
    file "/usr/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "$size x $size" \
        || fail "the $size-pixel icon is not $size x $size"
done
if ldd /usr/bin/dravix /usr/bin/dravix-sim | grep 'not found'; then
    fail "a shared library is missing"
fi

/usr/bin/dravix-sim --help >"$work/sim-help.txt" || fail "dravix-sim --help"
grep -q -- '--port' "$work/sim-help.txt" || fail "dravix-sim --help lists no --port"
echo "dravix-sim --help: ok"

# Waits until the process $app runs /usr/bin/dravix in folder $1, or fails.
wait_for_dravix() {
    for _ in $(seq 50); do
        [ "$(readlink "/proc/$app/exe" 2>/dev/null)" = /usr/bin/dravix ] \
            && [ "$(readlink "/proc/$app/cwd")" = "$1" ] && return 0
        kill -0 "$app" 2>/dev/null || break
        sleep 0.1
    done
    cat "$work/dravix.err" >&2
    fail "dravix is not running in $1"
}
# Ends the process $app with SIGTERM; ended by a signal, Dravix writes no sesja.dat (only
# closing the window does).
end_dravix() {
    sleep 1
    kill -0 "$app" 2>/dev/null \
        || { cat "$work/dravix.err" >&2; fail "dravix did not keep running"; }
    kill -TERM "$app"
    local status=0
    wait "$app" || status=$?
    app=""
    [ "$status" -eq 143 ] || { cat "$work/dravix.err" >&2; fail "dravix ended with $status"; }
}

# From a terminal: the installed program starts in the current folder and leaves no file there.
mkdir "$work/run"
(cd "$work/run" && QT_QPA_PLATFORM=offscreen exec /usr/bin/dravix) 2>"$work/dravix.err" &
app=$!
wait_for_dravix "$work/run"
end_dravix
[ -z "$(ls -A "$work/run")" ] || fail "dravix left files: $(ls -A "$work/run")"
echo "dravix ran offscreen in an empty folder for 1 s and ended on SIGTERM: ok"

# From the menu: the desktop file's Exec line, with a home whose ~/Dravix holds the user's own
# regulator-rt8.set.
home=$work/home
mkdir -p "$home/Dravix"
printf 'tytul=MODEL: mine\r\n' >"$home/Dravix/regulator-rt8.set"
cp "$home/Dravix/regulator-rt8.set" "$work/users.set"
exec_line=$(sed -n 's/^Exec=//p' "/usr/share/applications/$id.desktop")
echo "menu entry: Exec=$exec_line"
read -r -a command <<<"$exec_line"
(cd "$work" && HOME=$home QT_QPA_PLATFORM=offscreen exec "${command[@]}") 2>"$work/dravix.err" &
app=$!
wait_for_dravix "$home/Dravix"
end_dravix
cmp -s /usr/share/dravix/examples/pompa-sp4.set "$home/Dravix/pompa-sp4.set" \
    || fail "the menu start did not copy pompa-sp4.set into ~/Dravix"
cmp -s "$work/users.set" "$home/Dravix/regulator-rt8.set" \
    || fail "the menu start replaced the user's regulator-rt8.set"
echo "menu start: dravix ran in ~/Dravix with the samples, the user's own file kept: ok"

echo "package check passed: $deb built, checked, installed, run, and the machine left as it was"
