#!/usr/bin/env bash
# Builds Korvane and runs every test: once in the Debug build, once under
# AddressSanitizer and UndefinedBehaviorSanitizer. Tests run offscreen with a
# private HOME each; they never touch the user's files or settings.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/check-format.sh

for preset in debug asan; do
    echo "== $preset build"
    cmake --preset "$preset" > /dev/null
    cmake --build --preset "$preset"
    echo "== $preset tests"
    ctest --preset "$preset"
done
