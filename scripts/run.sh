#!/usr/bin/env bash
# Installs what is missing, builds, and starts Dravix in the demo folder build/demo, with the
# device simulator playing the device on port 1 of the sample description. Ending this script
# (Ctrl+C, SIGTERM) ends both.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

demo=$root/build/demo
mkdir -p "$demo"
for description in "$root"/examples/*.set; do
    [ -e "$demo/$(basename "$description")" ] || cp "$description" "$demo/"
done
if [ ! -e "$demo/sesja.dat" ]; then
    printf 'konfig=regulator-rt8.set\r\nwybor1=0\r\nwybor2=0\r\nzestaw= 1\r\n' >"$demo/sesja.dat"
fi

cd "$demo"
"$root/build/default/tools/dravix-sim" --port 1 --id 05 --values 215,15,-3,1200,30,-150,0,0 \
    >"$demo/dravix-sim.log" 2>&1 &
sim=$!
app=""
stop() {
    kill ${app:+"$app"} "$sim" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
for _ in $(seq 50); do
    grep -q '^ready' "$demo/dravix-sim.log" 2>/dev/null && break
    sleep 0.1
done
"$root/build/default/app/dravix" &
app=$!
echo "Dravix (pid $app) runs in $demo; the simulator's frames are logged to $demo/dravix-sim.log"
status=0
wait "$app" || status=$?
app=""
exit "$status"
