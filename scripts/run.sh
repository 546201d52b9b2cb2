#!/usr/bin/env bash
# Builds Korvane (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake --preset release > /dev/null
cmake --build --preset release --target korvane
exec build/release/src/korvane "$@"
