#!/usr/bin/env bash
# Proves the README's run command: scripts/run.sh starts the simulator and Dravix (offscreen
# here), and once Dravix ends the simulator is stopped and its COM1 link removed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
demo=$root/build/demo
app=$root/build/default/app/dravix

QT_QPA_PLATFORM=offscreen "$root/scripts/run.sh" >"$root/build/demo-check.log" 2>&1 &
runner=$!
for _ in $(seq 600); do
    pgrep -f "^$app" >/dev/null && grep -q '^ready' "$demo/dravix-sim.log" 2>/dev/null && break
    sleep 0.2
done
pgrep -f "^$app" >/dev/null || { cat "$root/build/demo-check.log"; echo "Dravix did not start"; exit 1; }
[ -L "$demo/COM1" ] || { echo "the simulator made no COM1 link"; exit 1; }
sleep 1
pkill -f "^$app"
wait "$runner" || true
[ ! -e "$demo/COM1" ] || { echo "the simulator was not stopped"; exit 1; }
echo "demo check: Dravix and the simulator started in $demo and stopped cleanly"
