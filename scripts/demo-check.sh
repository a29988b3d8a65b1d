#!/usr/bin/env bash
# Proves the README's run command: scripts/run.sh starts the simulator and Dravix (offscreen
# here), and once Dravix ends the simulator is stopped and its COM1 link removed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
demo=$root/build/demo

QT_QPA_PLATFORM=offscreen "$root/scripts/run.sh" >"$root/build/demo-check.log" 2>&1 &
runner=$!
trap 'kill "$runner" 2>/dev/null || true' EXIT
app=""
for _ in $(seq 600); do
    app=$(sed -n 's/^Dravix (pid \([0-9]*\)) runs in .*/\1/p' "$root/build/demo-check.log")
    [ -n "$app" ] && grep -q '^ready' "$demo/dravix-sim.log" 2>/dev/null && break
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.2
done
[ -n "$app" ] && kill -0 "$app" 2>/dev/null \
    || { cat "$root/build/demo-check.log"; echo "Dravix did not start"; exit 1; }
[ -L "$demo/COM1" ] || { echo "the simulator made no COM1 link"; exit 1; }
sleep 1
# As the user closing the window would: Dravix ends, then run.sh stops the simulator.
kill "$app"
wait "$runner" || true
[ ! -e "$demo/COM1" ] || { echo "the simulator was not stopped"; exit 1; }
echo "demo check: Dravix and the simulator started in $demo and stopped cleanly"
