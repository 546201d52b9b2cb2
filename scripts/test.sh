#!/usr/bin/env bash
# Builds Korvane and runs every test: once in the Debug build, once under
# AddressSanitizer and UndefinedBehaviorSanitizer. Tests run offscreen with a
# private HOME each; they never touch the user's files or settings. Then the
# Debug build is installed into a temporary folder and checked as a user gets
# it: desktop files, package, and F1 in the installed program. Last come 200
# random kills of a writing process and each fuzz target for 30 seconds.
# Works as root and as a normal user, who is asked for sudo only to install
# missing packages.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh test
bash scripts/check-format.sh
bash scripts/check-includes.sh

for preset in debug asan; do
    echo "== $preset build"
    cmake --preset "$preset" > /dev/null
    cmake --build --preset "$preset"
    echo "== $preset tests"
    ctest --preset "$preset"
done
bash scripts/check-install.sh build/debug

echo "== crash consistency"
bash scripts/crash.sh
echo "== fuzzing"
bash scripts/fuzz.sh
