#!/usr/bin/env bash
# The menu entry's launcher: the folder it makes and starts in, the samples it copies, and the
# user's files it keeps.
# Usage: tst_menulauncher.sh <launcher starting tests/tools/stub/dravix> <samples folder>
set -euo pipefail
launcher=$1
samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
check() {
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $what"
    fi
}
# Starts the launcher with the home $1; the stub notes where it ran in $1/started-in.
start() {
    HOME=$1 "$launcher" >/dev/null 2>&1
}
started_in() {
    [ "$(cat "$1/started-in" 2>/dev/null)" = "$(cd "$2" && pwd -P)" ]
}
fails() {
    ! "$@"
}
link_kept() {
    [ -L "$1" ] && [ ! -e "$(readlink "$1")" ]
}
has_samples() {
    local sample
    for sample in "$samples"/*.set; do
        cmp -s "$sample" "$1/${sample##*/}" || return 1
    done
}

for home in "$work/fresh" "$work/with space/and ąę"; do
    mkdir -p "$home"
    check "first start from $home" start "$home"
    check "started in $home/Dravix" started_in "$home" "$home/Dravix"
    check "samples in $home/Dravix" has_samples "$home/Dravix"
done

home=$work/users
mkdir -p "$home/Dravix"
printf 'tytul=mine\r\n' >"$home/Dravix/regulator-rt8.set"
check "start with the user's description" start "$home"
check "the user's description kept" \
    [ "$(cat "$home/Dravix/regulator-rt8.set")" = $'tytul=mine\r' ]
check "the other sample copied" cmp -s "$samples/pompa-sp4.set" "$home/Dravix/pompa-sp4.set"
rm "$home/Dravix/pompa-sp4.set"
check "second start" start "$home"
check "a deleted sample copied again" cmp -s "$samples/pompa-sp4.set" "$home/Dravix/pompa-sp4.set"

home=$work/link
mkdir -p "$home/Dravix"
ln -s "$work/nowhere.set" "$home/Dravix/regulator-rt8.set"
check "start with the user's dangling link" start "$home"
check "the link kept, nothing written through it" link_kept "$home/Dravix/regulator-rt8.set"

home=$work/blocked
mkdir -p "$home"
echo mine >"$home/Dravix"
check "a file named Dravix fails the start" fails start "$home"
check "and Dravix does not start elsewhere" [ ! -e "$home/started-in" ]
check "and the file is kept" [ "$(cat "$home/Dravix")" = mine ]

check "no home fails the start" fails env -u HOME "$launcher" >/dev/null 2>&1

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
