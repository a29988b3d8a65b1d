#!/usr/bin/env bash
# A plain build on a machine that has nothing but the compiler, CMake, Ninja and Qt's development
# packages: a fresh Debian 12 made with mmdebstrap, the tree copied in, then the two commands a
# newcomer types. The chroot is thrown away afterwards. Run as root or as a user with sudo.
set -euo pipefail
preset=none
source "$(dirname "$0")/setup.sh" mmdebstrap
cd "$root"

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The tracked files as they are in the working tree, with what is new and not ignored.
git ls-files -co --exclude-standard -z | tar -C "$root" --null -T - -cf "$work/tree.tar"

started=$SECONDS
$sudo mmdebstrap --quiet --variant=apt \
    --include=g++,cmake,ninja-build,qt6-base-dev,qt6-serialport-dev \
    --customize-hook="mkdir -p \"\$1/src\" && tar -C \"\$1/src\" -xf $work/tree.tar" \
    --customize-hook='chroot "$1" sh -c "cd /src && cmake -S . -B build -G Ninja >/src/plain.log 2>&1 && cmake --build build >>/src/plain.log 2>&1" || { tail -40 "$1/src/plain.log"; exit 1; }' \
    --customize-hook='grep -E "DRAVIX_PACKAGING|warning" "$1/src/build/CMakeCache.txt" "$1/src/plain.log" | head -5 || true' \
    bookworm /dev/null
echo "plain build check: configured and built with only g++ cmake ninja-build qt6-base-dev" \
    "qt6-serialport-dev in $((SECONDS - started)) s"
