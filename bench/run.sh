#!/usr/bin/env bash
# Builds the Release preset, runs every benchmark and writes bench/README.md
# from README.template.md with the tables the run printed.
#
# Run: bash bench/run.sh
# Exit status: 0 when every target was met, 1 when one was missed (the README
# is written all the same and names it), anything else when a benchmark
# failed to run (the README is then left as it was).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release > /dev/null
cmake --build --preset release
build=build/release
tables=$(mktemp -d)
trap 'rm -rf "$tables"' EXIT
missed=0

# Runs one benchmark, its table into $tables/NAME.md as well as on screen.
benchmark() {
    local name=$1 status=0
    shift
    echo "== $name: $*" >&2
    "$@" > "$tables/$name.md" || status=$?
    cat "$tables/$name.md" >&2
    case $status in
        0) ;;
        1) missed=1 ;;
        *)
            echo "the $name benchmark failed to run (exit status $status)" >&2
            exit "$status"
            ;;
    esac
}

# The instructions one load and its floor execute, which the machine's load
# does not change.
instructions() {
    local mode=$1 file=$2
    valgrind --tool=callgrind --callgrind-out-file=/dev/null --toggle-collect="*Measured*" \
        "$build/bench/korvane_loadprobe" "$mode" "$file" 2>&1 >/dev/null |
        sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
counts() {
    local folder
    folder=$(mktemp -d)
    "$build/bench/korvane_clibenchdata" "$folder"
    local floor load
    floor=$(instructions floor "$folder/sdb1.ppd")
    load=$(instructions load "$folder/sdb1.ppd")
    rm -rf "$folder"
    [ -n "$floor" ] && [ -n "$load" ] || return 3
    awk -v f="$floor" -v l="$load" 'BEGIN {
        printf "Instructions (callgrind, one fresh process each, 32,767 records): the floor %.1f million, " \
            "LoadDatabase %.1f million, %.2f times as many.\n", f / 1e6, l / 1e6, l / f }'
}

benchmark store "$build/bench/korvane_storebench" --markdown
if command -v valgrind > /dev/null; then
    benchmark instructions counts
else
    echo "valgrind is missing: no instruction counts" > "$tables/instructions.md"
fi
benchmark clicks "$build/bench/korvane_windowbench" --markdown
benchmark start xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$build/bench/korvane_startbench" --markdown
benchmark cli bash bench/cli-benchmark.sh "$build"

python3 - "$tables" > bench/README.md << 'EOF'
import pathlib
import sys

tables = pathlib.Path(sys.argv[1])
text = pathlib.Path("bench/README.template.md").read_text(encoding="utf-8")
for table in tables.glob("*.md"):
    text = text.replace("@" + table.stem.upper() + "@", table.read_text(encoding="utf-8").strip())
print(text.strip())
EOF
echo "bench/README.md written" >&2
exit "$missed"
