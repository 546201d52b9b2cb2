#!/usr/bin/env bash
# Times korvane-cli as whole processes on four full databases (32,767
# realistic records each, the most a database may hold) and, when Debian's
# keepassxc is installed, keepassxc-cli doing the same work on the same
# records: the .kdbx is built by "keepassxc-cli import" from korvane-cli's
# own KeePass XML export, with the lowest key derivation time it accepts.
#
# Build first: cmake --preset release && cmake --build --preset release
# Run:         bash bench/cli-benchmark.sh [BUILD_DIR]
# Targets on the project's 2-core machine: every korvane-cli command at most
# 80 ms for all four databases, and at least 25 times faster than the peer.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C

build=${1:-build/release}
cli=$build/src/cli/korvane-cli
generator=$build/bench/korvane_clibenchdata
repeats=${REPEATS:-21}
peer_repeats=${PEER_REPEATS:-3}
term=fjord
target_ms=80
target_ratio=25

for program in "$cli" "$generator"; do
    [ -x "$program" ] || { echo "missing $program: build the release preset first" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
"$generator" "$XDG_DATA_HOME/Tessaly/Korvane"

# The median wall time of a whole process in milliseconds, output discarded.
median_ms() {
    local runs=$1
    shift
    local times=() start end
    for ((run = 0; run < runs; ++run)); do
        start=$EPOCHREALTIME
        "$@" > /dev/null 2>&1 || true
        end=$EPOCHREALTIME
        times+=("$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f", (e - s) * 1000 }')")
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

# Both tools must find the same records, or the comparison means nothing.
count() { "$@" 2> /dev/null | wc -l; }

names=("list all four" "search \"$term\"" "export CSV")
korvane=(
    "$cli list"
    "$cli search $term"
    "$cli export --format csv"
)
declare -a ours peers counts
for index in "${!korvane[@]}"; do
    read -ra command <<< "${korvane[$index]}"
    ours[index]=$(median_ms "$repeats" "${command[@]}")
    counts[index]=$(count "${command[@]}")
done

peer=$(command -v keepassxc-cli || true)
if [ -n "$peer" ]; then
    "$cli" export --format keepass-xml -o "$work/korvane.xml" 2> /dev/null
    "$peer" import -q --set-key-file "$work/korvane.key" -t 100 "$work/korvane.xml" "$work/korvane.kdbx"
    open=(-q -k "$work/korvane.key" --no-password)
    keepassxc=(
        "ls ${open[*]} -R -f $work/korvane.kdbx"
        "search ${open[*]} $work/korvane.kdbx $term"
        "export ${open[*]} -f csv $work/korvane.kdbx"
    )
    for index in "${!keepassxc[@]}"; do
        read -ra command <<< "${keepassxc[$index]}"
        peers[index]=$(median_ms "$peer_repeats" "$peer" "${command[@]}")
        counts[index]="${counts[index]} / $(count "$peer" "${command[@]}")"
    done
fi

echo "korvane-cli on four databases of 32,767 records; median of $repeats runs (keepassxc-cli: $peer_repeats)"
echo "$(date -u +%Y-%m-%d), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
printf '%-18s %14s %16s %9s  %s\n' "work" "korvane-cli" "keepassxc-cli" "faster" "output lines (ours / peer)"
failed=0
for index in "${!names[@]}"; do
    ratio="-"
    peer_ms="-"
    if [ -n "${peers[index]:-}" ]; then
        peer_ms="${peers[index]} ms"
        ratio=$(awk -v o="${ours[index]}" -v p="${peers[index]}" 'BEGIN { printf "%.0fx", p / o }')
        awk -v o="${ours[index]}" -v p="${peers[index]}" -v t="$target_ratio" 'BEGIN { exit !(p / o < t) }' && failed=1
    fi
    awk -v o="${ours[index]}" -v t="$target_ms" 'BEGIN { exit !(o > t) }' && failed=1
    printf '%-18s %11s ms %16s %9s  %s\n' "${names[index]}" "${ours[index]}" "$peer_ms" "$ratio" "${counts[index]}"
done
if [ "$failed" -ne 0 ]; then
    echo "a target was missed: at most $target_ms ms each, at least ${target_ratio}x the peer"
    exit 1
fi
echo "targets met: at most $target_ms ms each, at least ${target_ratio}x the peer"
