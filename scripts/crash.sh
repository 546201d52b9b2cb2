#!/usr/bin/env bash
# Crash consistency: a driver process adds, replaces and removes records,
# exports and imports in a loop while it is killed with SIGKILL at random
# moments; after every kill each file must hold its old or its new content
# and every saved record must load. 200 kills by default (CI, well under two
# minutes); for a long run:
#
#   bash scripts/crash.sh 5000
set -euo pipefail
cd "$(dirname "$0")/.."

trials="${1:-200}"
cmake --preset asan > /dev/null
cmake --build --preset asan --target tst_exchange_crashconsistency
# A second per kill is far more than a kill takes.
KORVANE_CRASH_TRIALS="$trials" QTEST_FUNCTION_TIMEOUT="$((trials * 1000 + 60000))" \
    build/asan/src/exchange/tests/crash/tst_exchange_crashconsistency
