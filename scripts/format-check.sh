#!/usr/bin/env bash
# Fails when a C++ source of the repository differs from what .clang-format makes of it.
set -euo pipefail
preset=none
source "$(dirname "$0")/setup.sh" clang-format
cd "$root"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
echo "format check: $(git ls-files '*.cpp' '*.h' | wc -l) files as .clang-format wants them"
