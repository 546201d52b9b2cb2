#!/usr/bin/env bash
# Builds the Debian package of Korvane (Release) and installs it with apt,
# which also installs what it depends on. Run it as yourself: only apt-get
# runs as root (scripts/as-root.sh). Remove Korvane with: sudo apt remove korvane
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh build

cmake --preset release > /dev/null
cmake --build --preset release --target korvane_installables
(cd build/release && cpack > /dev/null)
package=$(realpath build/release/korvane_*.deb)
echo "Built $package"

bash scripts/as-root.sh env DEBIAN_FRONTEND=noninteractive apt-get install -y --reinstall "$package"
