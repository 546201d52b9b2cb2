#!/usr/bin/env bash
# Builds Korvane (Release) and starts it as the user who started this script.
# Run it as yourself: only the package step asks for root, through sudo.
set -euo pipefail
cd "$(dirname "$0")/.."

# Under sudo the program would keep root's data, not yours, and usually
# finds no display.
if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
    echo "Run this script as $SUDO_USER, without sudo: it asks sudo itself, for installing packages only." >&2
    exit 1
fi

bash scripts/install-deps.sh run

cmake --preset release > /dev/null
cmake --build --preset release --target korvane
if [ "$(id -u)" -eq 0 ]; then
    echo "Starting Korvane as root: it keeps root's data, in ${XDG_DATA_HOME:-$HOME/.local/share}/Tessaly/Korvane." >&2
fi
exec build/release/src/app/korvane "$@"
