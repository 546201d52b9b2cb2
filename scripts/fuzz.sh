#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for the given number of seconds,
# 30 by default; CI uses the default. For a long run:
#
#   bash scripts/fuzz.sh 3600
#
# Each target starts from its checked-in seed corpus (src/*/fuzz/corpus/<name>)
# and keeps what it finds in build/fuzz/corpus/<name>, so later runs go on
# from there. A crash stops the script; its input lands in
# build/fuzz/findings/<name>/ and replays with the target and that file.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
# The targets write files on every input; in memory a sync costs nothing.
if [ -d /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
cmake --preset fuzz > /dev/null
cmake --build --preset fuzz

for seeds in src/*/fuzz/corpus/*/; do
    name="$(basename "$seeds")"
    layer="$(basename "$(dirname "$(dirname "$(dirname "$seeds")")")")"
    target="build/fuzz/src/$layer/fuzz/korvane_fuzz_$name"
    corpus="build/fuzz/corpus/$name"
    findings="build/fuzz/findings/$name"
    mkdir -p "$corpus" "$findings"
    log="build/fuzz/$name.log"
    echo "== fuzz $name for $seconds s"
    status=0
    "$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$corpus" "$seeds" > "$log" 2>&1 || status=$?
    grep -E '^(INFO: seed corpus|Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || true
    if [ "$status" -ne 0 ] || [ -n "$(ls -A "$findings")" ]; then
        tail -40 "$log" >&2
        echo "fuzz $name failed (status $status); inputs in $findings" >&2
        exit 1
    fi
done
