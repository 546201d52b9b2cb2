#!/usr/bin/env bash
# Crash consistency: a driver process adds, replaces and removes records,
# exports and imports in a loop while it is killed with SIGKILL at random
# moments; then korvane-cli's import, restore and backup are killed the same
# way, started without a runtime folder as cron starts them. After every kill
# each file must hold its old or its new content, every saved record must
# load, and the next write must not be refused. 200 kills of the driver and
# 50 of korvane-cli by default (CI, well under two minutes; each korvane-cli
# kill is followed by a full run); for a long run:
#
#   bash scripts/crash.sh 5000
set -euo pipefail
cd "$(dirname "$0")/.."

trials="${1:-200}"
cmake --preset asan > /dev/null
cmake --build --preset asan --target tst_exchange_crashconsistency tst_exchange_clicrash
# A second per kill is far more than a kill takes.
KORVANE_CRASH_TRIALS="$trials" QTEST_FUNCTION_TIMEOUT="$((trials * 1000 + 60000))" \
    build/asan/src/exchange/tests/crash/tst_exchange_crashconsistency
cli_trials=$(((trials + 3) / 4))
KORVANE_CRASH_TRIALS="$cli_trials" QTEST_FUNCTION_TIMEOUT="$((cli_trials * 2000 + 60000))" \
    build/asan/src/exchange/tests/crash/tst_exchange_clicrash
