#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer
# (clang, build/asan) and runs every test under them.
set -euo pipefail
preset=asan
source "$(dirname "$0")/setup.sh" clang libclang-rt-14-dev
ctest --preset asan "$@"
