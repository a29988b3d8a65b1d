#!/usr/bin/env bash
# Installs what is missing, builds the libFuzzer targets (clang, build/fuzz) and runs each for
# the given number of seconds (default 10), starting from the seeds in fuzz/corpus/<target>.
# Inputs found to grow coverage are kept in build/fuzz/corpus/<target>, crashing inputs in
# build/fuzz/findings/. Exits non-zero when any target found one.
# Usage: scripts/fuzz.sh [seconds per target] [target...]
set -euo pipefail
seconds=${1:-10}
shift $(($# > 0 ? 1 : 0))
preset=fuzz
source "$(dirname "$0")/setup.sh" clang libclang-rt-14-dev

targets=("$@")
((${#targets[@]})) || targets=(fuzz_keyvaluefile fuzz_windowfiles fuzz_valuefiles fuzz_replies fuzz_numbers fuzz_cp1250)
out=$root/build/fuzz
mkdir -p "$out/findings"
status=0
printf '%-20s %8s %12s %10s %9s %9s\n' target seconds executions 'per second' coverage findings
for target in "${targets[@]}"; do
    mkdir -p "$out/corpus/$target"
    log=$out/$target.log
    rc=0
    touch "$out/findings/.start-$target"
    # An input that runs longer than 10 s counts as a hang.
    "$out/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$out/findings/$target-" \
        "$out/corpus/$target" "$root/fuzz/corpus/$target" >"$log" 2>&1 || rc=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    findings=$(find "$out/findings" -name "$target-*" -newer "$out/findings/.start-$target" | wc -l)
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2 || true)
    rate=$(( ${executions:-0} / seconds ))
    printf '%-20s %8s %12s %10s %9s %9s\n' "$target" "$seconds" "${executions:-?}" "$rate" \
        "${coverage:-?}" "$findings"
    if ((rc != 0 || findings != 0)); then
        status=1
        grep -E 'ERROR|invariant broken|SUMMARY|Test unit written' "$log" | head -5 || true
    fi
done
exit $status
