#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Korvane need.
# The one list of packages lives here; the run and test scripts call this first.
set -euo pipefail

packages=(
    g++ cmake ninja-build clang-format
    qt6-base-dev qt6-qpa-plugins libqt6svg6
    xvfb xauth xdotool imagemagick fonts-dejavu-core
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
