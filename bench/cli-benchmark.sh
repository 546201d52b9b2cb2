#!/usr/bin/env bash
# Times korvane-cli as whole processes on four full databases (32,767
# realistic records each, the most a database may hold) against
# keepassxc-cli doing the same work on the same records: a .kdbx built by
# "keepassxc-cli import" from korvane-cli's own KeePass XML export, with the
# lowest key derivation time it accepts (100 ms), which every one of its runs
# pays and which its figures include.
#
# Every command runs REPEATS times (at least 10) on each side, the two taking
# turns. Any run of either program that fails stops the benchmark with a
# non-zero exit; before timing, both programs' records are compared field by
# field. Prints a Markdown table; exits 1 when a target is missed.
#
# Build first: cmake --preset release && cmake --build --preset release
# Run:         bash bench/cli-benchmark.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C.UTF-8

build=${1:-build/release}
cli=$build/src/cli/korvane-cli
generator=$build/bench/korvane_clibenchdata
peer=$(command -v keepassxc-cli) || { echo "keepassxc-cli is missing: bash scripts/install-deps.sh test" >&2; exit 2; }
repeats=${REPEATS:-10}
[ "$repeats" -ge 10 ] || { echo "REPEATS must be at least 10" >&2; exit 2; }
target_ratio=25
target_ms=80

for program in "$cli" "$generator"; do
    [ -x "$program" ] || { echo "missing $program: build the release preset first" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
data=$XDG_DATA_HOME/Tessaly/Korvane
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$work/import/Tessaly/Korvane"
chmod 700 "$XDG_RUNTIME_DIR"
"$generator" "$data"
load_average=$(cut -d' ' -f1 /proc/loadavg)

fail() {
    echo "cli-benchmark: $*" >&2
    exit 3
}

# Runs a command with its output discarded; any failure ends the benchmark.
run() {
    "$@" > /dev/null 2> "$work/stderr" || { cat "$work/stderr" >&2; fail "failed: $*"; }
}

# The peer's database, key file and the options that open it.
"$cli" export -f keepass-xml -o "$work/all.xml"
"$peer" import -q --set-key-file "$work/peer.key" -t 100 "$work/all.xml" "$work/peer.kdbx" > /dev/null ||
    fail "keepassxc-cli import of korvane-cli's export failed"
open=(-q -k "$work/peer.key" --no-password)

# Both hold the same records, field by field: korvane-cli's CSV against the
# peer's own XML export of its database.
"$cli" export -f csv -o "$work/all.csv"
"$peer" export "${open[@]}" -f xml "$work/peer.kdbx" > "$work/peer.xml" || fail "keepassxc-cli export failed"
same=$(python3 bench/same-records.py "$work/all.csv" "$work/peer.xml") || fail "the two programs hold different records"

# One database's records, for the imports; a product found once, for show.
"$cli" export -f csv -d 1 -o "$work/one.csv"
"$cli" export -f keepass-xml -d 1 -o "$work/one.xml"
unique=$(python3 bench/same-records.py --unique-product "$work/all.csv" "$work/peer.xml") ||
    fail "no product is found exactly once"
product=$(sed -n 1p <<< "$unique")
show_path=$(sed -n 2p <<< "$unique")
term=soft

# An import into an empty database; its data folder is emptied before each
# run, outside the timing.
import_home=$work/import
korvane_import() {
    rm -f "$import_home"/Tessaly/Korvane/*
    XDG_DATA_HOME=$import_home "$cli" import -f "$1" "$2" -d 1
}
peer_import() {
    rm -f "$work/imported.kdbx"
    "$peer" import -q --set-key-file "$work/imported.key" -t 100 "$work/one.xml" "$work/imported.kdbx"
}

# An import must give back the records it was given.
korvane_import csv "$work/one.csv" > /dev/null 2>&1 || fail "korvane-cli import of CSV failed"
XDG_DATA_HOME=$import_home "$cli" export -f csv -o "$work/imported.csv"
cmp -s "$work/one.csv" "$work/imported.csv" || fail "the CSV import did not give back the exported records"
korvane_import keepass-xml "$work/one.xml" > /dev/null 2>&1 || fail "korvane-cli import of KeePass XML failed"
XDG_DATA_HOME=$import_home "$cli" export -f csv --force -o "$work/imported.csv"
cmp -s "$work/one.csv" "$work/imported.csv" || fail "the XML import did not give back the exported records"

# Each work as a pair of functions, korvane-cli's and the peer's; "none" where
# keepassxc-cli has no such command.
names=(
    "list every record of all four (list / ls -R -f)"
    "search \"$term\" in all four (search / search)"
    "show one product (show / show)"
    "export CSV, all four (export -f csv / export -f csv)"
    "export JSON, all four (export -f json / none)"
    "export KeePass XML, all four (export -f keepass-xml / export -f xml)"
    "import CSV, 32,767 records (import -f csv / none)"
    "import KeePass XML, 32,767 records (import -f keepass-xml / import)"
)
ours_list() { "$cli" list; }
ours_search() { "$cli" search "$term"; }
ours_show() { "$cli" show "$product"; }
ours_csv() { "$cli" export -f csv; }
ours_json() { "$cli" export -f json; }
ours_xml() { "$cli" export -f keepass-xml; }
ours_import_csv() { korvane_import csv "$work/one.csv"; }
ours_import_xml() { korvane_import keepass-xml "$work/one.xml"; }
peer_list() { "$peer" ls "${open[@]}" -R -f "$work/peer.kdbx"; }
peer_search() { "$peer" search "${open[@]}" "$work/peer.kdbx" "$term"; }
peer_show() { "$peer" show "${open[@]}" "$work/peer.kdbx" "$show_path"; }
peer_csv() { "$peer" export "${open[@]}" -f csv "$work/peer.kdbx"; }
peer_xml() { "$peer" export "${open[@]}" -f xml "$work/peer.kdbx"; }
ours=(ours_list ours_search ours_show ours_csv ours_json ours_xml ours_import_csv ours_import_xml)
peers=(peer_list peer_search peer_show peer_csv none peer_xml none peer_import)

# Milliseconds of one run.
time_once() {
    local start end
    start=$EPOCHREALTIME
    run "$1"
    end=$EPOCHREALTIME
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f\n", (e - s) * 1000 }'
}

# Median, lowest and highest of the numbers on standard input.
summary() {
    sort -n | awk '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.1f %.1f %.1f\n", m, v[1], v[NR] }'
}

declare -a our_summary peer_summary
for index in "${!names[@]}"; do
    : > "$work/ours.txt"
    : > "$work/peers.txt"
    for ((round = 0; round < repeats; ++round)); do
        time_once "${ours[index]}" >> "$work/ours.txt"
        [ "${peers[index]}" = none ] || time_once "${peers[index]}" >> "$work/peers.txt"
    done
    our_summary[index]=$(summary < "$work/ours.txt")
    [ "${peers[index]}" = none ] || peer_summary[index]=$(summary < "$work/peers.txt")
done

median_of() { echo "${1%% *}"; }
spread_of() {
    local rest=${1#* }
    echo "${rest/ /-}"
}

echo "korvane-cli on four databases of 32,767 records each (131,068 records), against keepassxc-cli $("$peer" --version)"
echo "with its lowest key derivation time (100 ms, paid by every one of its runs and included in its figures);"
echo "$repeats runs each, taking turns; measured on $(date +%Y-%m-%d) on" \
    "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores, load average $load_average."
echo "Before timing: $same (korvane-cli's CSV export against keepassxc-cli's XML export); each import"
echo "gave back the records it was given; \"show\" shows $product."
echo
echo "| work | korvane-cli median | spread | keepassxc-cli median | spread | faster | target | |"
echo "|---|---|---|---|---|---|---|---|"
missed=0
csv_export=$(median_of "${our_summary[3]}")
csv_import=$(median_of "${our_summary[6]}")
for index in "${!names[@]}"; do
    ours_ms=$(median_of "${our_summary[index]}")
    peer_ms="-" peer_spread="-" ratio="-"
    targets=()
    bad=0
    if [ -n "${peer_summary[index]:-}" ]; then
        peer_ms=$(median_of "${peer_summary[index]}")
        peer_spread="$(spread_of "${peer_summary[index]}") ms"
        ratio=$(awk -v o="$ours_ms" -v p="$peer_ms" 'BEGIN { printf "%.0f x", p / o }')
        targets+=("at least ${target_ratio} x")
        awk -v o="$ours_ms" -v p="$peer_ms" -v t="$target_ratio" 'BEGIN { exit !(p / o < t) }' && bad=1
        peer_ms="$peer_ms ms"
    fi
    case $index in
        0 | 1 | 3)
            targets+=("at most $target_ms ms")
            awk -v o="$ours_ms" -v t="$target_ms" 'BEGIN { exit !(o > t) }' && bad=1
            ;;
        5)
            targets+=("at most 2 x CSV")
            awk -v o="$ours_ms" -v c="$csv_export" 'BEGIN { exit !(o > 2 * c) }' && bad=1
            ;;
        7)
            targets+=("at most 2 x CSV")
            awk -v o="$ours_ms" -v c="$csv_import" 'BEGIN { exit !(o > 2 * c) }' && bad=1
            ;;
    esac
    target_text=$(IFS=,; echo "${targets[*]:-}" | sed 's/,/, /g')
    result=""
    if [ ${#targets[@]} -gt 0 ]; then
        result=met
        [ "$bad" -eq 0 ] || { result=MISSED; missed=1; }
    fi
    echo "| ${names[index]} | $ours_ms ms | $(spread_of "${our_summary[index]}") ms | $peer_ms | $peer_spread | $ratio | $target_text | $result |"
done
exit "$missed"
