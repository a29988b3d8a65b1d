#!/usr/bin/env bash
# dravix-sim(1) describes every option that dravix-sim --help lists, and no other.
# Usage: tst_simmanpage.sh <dravix-sim> <dravix-sim.1.in>
set -euo pipefail
help=$("$1" --help | grep -o -- '--[a-z0-9-]*' | sort -u)
page=$(sed 's/\\-/-/g' "$2" | grep -o -- '--[a-z0-9-]*' | sort -u)
missing=$(comm -23 <(echo "$help") <(echo "$page"))
extra=$(comm -13 <(echo "$help") <(echo "$page"))
[ -z "$missing" ] || echo "FAIL: not in the manual page:" $missing
[ -z "$extra" ] || echo "FAIL: in the manual page, not in --help:" $extra
echo "$(echo "$help" | wc -l) options compared"
[ -z "$missing$extra" ]
