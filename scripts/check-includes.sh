#!/usr/bin/env bash
# Fails when a C++ file includes a header by a relative path that climbs out
# of its folder ("../editing/recordlist.h"). Such an include compiles from
# anywhere and so walks past the layers that the build otherwise enforces:
# every header is reached as "<layer>/<name>.h" through what the file's own
# library links.
set -euo pipefail
cd "$(dirname "$0")/.."
if git ls-files -z '*.cpp' '*.h' | xargs -0 grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<][^">]*\.\./'; then
    echo "Includes: the lines above climb out of their folder; include \"<layer>/<name>.h\" instead" >&2
    exit 1
fi
echo "Includes: no header is reached through .."
