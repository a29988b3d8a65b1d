#!/usr/bin/env bash
# Builds the release preset (its packaging too, as the package ships it) and runs every benchmark.
# Each prints its figures with the machine's noise (min and max) and its target; a missed target
# is reported, never an error.
set -euo pipefail
preset=release
source "$(dirname "$0")/setup.sh" librsvg2-bin
bench=$root/build/release/bench

run() {
    echo
    "$@" 2>&1 | grep -v '^QStandardPaths:' || echo "(${1##*/} did not finish)"
}
echo "Machine: $(nproc) CPUs; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
run "$bench/bench_startup" 20
if command -v xvfb-run >/dev/null; then
    QT_QPA_PLATFORM=xcb run xvfb-run -a -s '-screen 0 1024x768x24' "$bench/bench_startup" 20
fi
run "$bench/bench_descriptions" 5
run "$bench/bench_typing" 2000
run "$bench/bench_exchange" 50

# Idle: Dravix with its port on the simulator's terminal, the port's folders watched, nobody at
# the keyboard. What it still spends is the text cursor's blink.
idle() {
    local work sim app before after ticks
    work=$(mktemp -d)
    cp "$root"/examples/*.set "$work/"
    printf 'konfig=regulator-rt8.set\r\nwybor1=0\r\nwybor2=0\r\nzestaw= 1\r\n' >"$work/sesja.dat"
    (cd "$work" && exec "$root/build/release/tools/dravix-sim" --port 1) >"$work/sim.log" 2>&1 &
    sim=$!
    for _ in $(seq 50); do
        grep -q '^ready' "$work/sim.log" && break
        sleep 0.1
    done
    (cd "$work" && QT_QPA_PLATFORM=offscreen exec "$root/build/release/app/dravix") \
        >/dev/null 2>&1 &
    app=$!
    sleep 3
    ticks=$(getconf CLK_TCK)
    before=$(awk '{print $14 + $15}' "/proc/$app/stat")
    sleep 30
    after=$(awk '{print $14 + $15}' "/proc/$app/stat")
    kill "$app" "$sim"
    wait "$app" "$sim" 2>/dev/null || true
    rm -rf "$work"
    echo
    echo "Idle, port watched (30 s, offscreen)"
    awk -v t=$((after - before)) -v hz="$ticks" 'BEGIN {
        printf "  CPU WHILE IDLE                    %.0f ms in 30 s (%.2f %%)\n",
            1000 * t / hz, 100 * t / hz / 30 }'
}
idle
