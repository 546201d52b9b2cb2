#!/usr/bin/env bash
# Builds the Debian package of Korvane (Release) and installs it with apt,
# which also installs what it depends on. Run it as yourself: only apt runs
# as root, through sudo. Remove Korvane again with: sudo apt remove korvane
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh build

cmake --preset release > /dev/null
cmake --build --preset release --target korvane_installables
(cd build/release && cpack > /dev/null)
package=$(realpath build/release/korvane_*.deb)
echo "Built $package"

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --reinstall "$package"
