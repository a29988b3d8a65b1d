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
