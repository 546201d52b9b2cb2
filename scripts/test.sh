#!/usr/bin/env bash
# Builds Korvane once, with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test on that build: offscreen, each with a private HOME, so
# no test touches the user's files or settings. Then the installed product is
# checked as a user gets it (desktop files, the Debian package, F1 in the
# installed program) and a writing process is killed 200 times at random.
# The fuzz targets need a clang build of their own: they run in CI, or here
# with --fuzz. Works as root and as a normal user, who is asked for sudo only
# to install missing packages.
#
#   bash scripts/test.sh          11 minutes from a fresh clone on 2 cores, 0.9 GB of disk
#   bash scripts/test.sh --fuzz   adds the fuzz build and 30 s per target, about 5 minutes
set -euo pipefail
cd "$(dirname "$0")/.."

fuzz=false
[ "${CI:-}" = true ] && fuzz=true
[ "${1:-}" = --fuzz ] && fuzz=true
phases=6
$fuzz && phases=7
started=$SECONDS
phase() {
    local elapsed=$((SECONDS - started))
    printf '\n== [%s/%s] %s (%d:%02d elapsed)\n' "$1" "$phases" "$2" $((elapsed / 60)) $((elapsed % 60))
}

phase 1 "Debian packages the tests need"
bash scripts/install-deps.sh test
phase 2 "house rules: formatting and includes"
bash scripts/check-format.sh
bash scripts/check-includes.sh
phase 3 "build with the sanitizers (the test build)"
cmake --preset asan > /dev/null
cmake --build --preset asan
phase 4 "tests"
ctest --preset asan
phase 5 "the installed product"
bash scripts/check-install.sh
phase 6 "crash consistency"
bash scripts/crash.sh
if $fuzz; then
    phase 7 "fuzzing"
    bash scripts/fuzz.sh
fi
elapsed=$((SECONDS - started))
printf '\nEvery check passed in %d:%02d.\n' $((elapsed / 60)) $((elapsed % 60))
