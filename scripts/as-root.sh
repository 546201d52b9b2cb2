#!/usr/bin/env bash
# Runs its arguments as root: directly when already root, else through sudo.
# The other scripts use it for apt-get only, so nothing else they start runs
# as root when a normal user started them.
set -euo pipefail
if [ "$(id -u)" -eq 0 ]; then
    exec "$@"
fi
if command -v sudo > /dev/null; then
    exec sudo "$@"
fi
echo "This step needs root, and there is no sudo: $*" >&2
echo "Install sudo, or run the script as root once." >&2
exit 1
