#!/usr/bin/env bash
# The Debian 12 packages Korvane needs, in three lists, and the one place
# that installs them. The other scripts ask for what they need:
#   install-deps.sh build   compile Korvane and make its Debian package
#   install-deps.sh run     build, plus what the program needs to run
#   install-deps.sh test    run, plus the tools of the tests and install checks
# Only apt-get runs as root (scripts/as-root.sh).
set -euo pipefail

# rsvg-convert renders the icon sizes; dpkg-shlibdeps (dpkg-dev) and file
# find the package's library dependencies.
build_packages=(g++ cmake ninja-build qt6-base-dev librsvg2-bin dpkg-dev file)
# Qt's SVG plug-ins draw the icons, its Wayland plug-in runs the window
# natively on Wayland desktops; xdg-open opens Help, the web site and web
# contacts.
run_packages=(libqt6svg6 qt6-wayland xdg-utils fonts-dejavu-core)
# The format check; a virtual display and a keyboard for the installed
# program, the validators, the package checker, and the type database with gio
# for the export file's type; xdotool and ImageMagick also take the
# screenshots in docs/. The keyboard and screen-reader test adds a window
# manager, xprop and xwininfo, a private D-Bus session and the AT-SPI bus with
# its Python bindings. clang and its runtime libraries build the fuzz targets
# (libFuzzer and the sanitizers). keepassxc-cli takes korvane-cli's KeePass XML there and
# back in the round-trip test, and is the command-line benchmark's peer.
# python3-jsonschema checks the JSON export against its schema. gnupg and
# man-db run the documented command lines that use gpg and man. The Wayland
# test runs a headless sway, types with wtype, takes pictures with grim and
# reads the clipboard with wl-paste; qt6ct gives the legibility test its dark
# colour scheme. The start-up benchmark watches the display through the X
# DAMAGE and XTEST extensions and valgrind counts the loader's instructions.
# time(1) gives the peak memory of korvane-cli's backup and restore.
test_packages=(
    clang-format xvfb xauth xdotool imagemagick
    desktop-file-utils appstream lintian shared-mime-info libglib2.0-bin
    openbox x11-utils dbus-daemon at-spi2-core python3-pyatspi
    sway wtype grim wl-clipboard qt6ct
    clang libclang-rt-dev
    keepassxc python3-jsonschema gnupg man-db
    libxdamage-dev libxtst-dev valgrind time
)

case "${1:-}" in
    build) packages=("${build_packages[@]}") ;;
    run) packages=("${build_packages[@]}" "${run_packages[@]}") ;;
    test) packages=("${build_packages[@]}" "${run_packages[@]}" "${test_packages[@]}") ;;
    *)
        echo "usage: $0 build|run|test" >&2
        exit 2
        ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root="$(dirname "$0")/as-root.sh"
bash "$as_root" apt-get update -qq
bash "$as_root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
