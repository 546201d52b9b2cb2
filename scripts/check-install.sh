#!/usr/bin/env bash
# Checks Korvane as a user gets it, not as it lies in the build folder:
# installs a finished build into a staging prefix, validates the desktop
# entry, the metainfo and the file type of the export file, builds the Debian
# package and runs lintian on it, then starts the installed program on a
# virtual display and checks that F1 hands the installed help page to the
# desktop's opener.
# Usage: check-install.sh [BUILD_FOLDER]
# Without a folder it builds what installs, in the Release build that the
# package is made from, and checks that.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-}
if [ -z "$build" ]; then
    build=build/release
    cmake --preset release > /dev/null
    cmake --build --preset release --target korvane_installables
fi
id=example.tessaly.Korvane
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/stage/usr

echo "== installing into a staging prefix"
cmake --install "$build" --prefix "$prefix" > /dev/null
expected=(
    share/korvane/help.html
    share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml
    share/mime/packages/$id.xml
    share/icons/hicolor/scalable/apps/$id.svg
    share/doc/korvane/copyright
    share/doc/korvane/changelog.gz
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for program in "$prefix"/bin/*; do
    expected+=("bin/${program##*/}" "share/man/man1/${program##*/}.1.gz")
done
missing=0
for file in "${expected[@]}"; do
    [ -f "$prefix/$file" ] || { echo "not installed: $file"; missing=1; }
done
[ "$missing" -eq 0 ]
echo "installed: ${#expected[@]} files checked"

echo "== desktop entry and metainfo"
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$id.metainfo.xml"

echo "== file type of the export file"
# A copy of the installed type database, compiled the way the package's
# trigger does it on a real system.
mkdir -p "$work/types/mime/packages" "$work/samples"
cp "$prefix/share/mime/packages/$id.xml" "$work/types/mime/packages/"
XDG_DATA_DIRS="$work/types" update-mime-database "$work/types/mime"
# An export of four empty databases: the header, a zero byte, four sizes.
for name in Korvane_Data.cab renamed-export; do
    printf '%s\0%s' 'Tv..K-N....200........' 00000000000000000000000000000000 > "$work/samples/$name"
done
for sample in "$work"/samples/*; do
    type=$(XDG_DATA_DIRS="$work/types:/usr/share" gio info -a standard::content-type "$sample" |
        sed -n 's/.*standard::content-type: //p')
    echo "${sample##*/}: $type"
    [ "$type" = application/x-korvane-data ]
done

echo "== Debian package"
cpack --config "$build/CPackConfig.cmake" -B "$work/package" > /dev/null
package=$(echo "$work"/package/*.deb)
dpkg-deb --field "$package" Package Version Depends Recommends
dpkg-deb --field "$package" Depends | grep -q xdg-utils
dpkg-deb --field "$package" Recommends | grep -q qt6-wayland
lintian --fail-on error,warning --display-info --pedantic "$package" | tee "$work/lintian"
echo "lintian: no errors, no warnings"
# Only a build with Debian's flags (the release preset) is hardened: a debug
# build cannot fortify its calls.
if grep -q '^KORVANE_DEBIAN_BUILD_FLAGS:BOOL=ON$' "$build/CMakeCache.txt"; then
    if grep -E ' hardening-' "$work/lintian"; then
        exit 1
    fi
    echo "lintian: no hardening tags"
else
    echo "lintian: hardening not checked, $build is not built with Debian's flags"
fi

echo "== F1 in the installed program"
home=$work/home
mkdir -p "$home/run" "$work/opener"
chmod 700 "$home/run"
opened=$work/opened
# Stands in for the desktop's opener and notes what it was asked to open.
cat > "$work/opener/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$1" >> '$opened'
EOF
chmod +x "$work/opener/xdg-open"
export KORVANE_PROGRAM=$prefix/bin/korvane KORVANE_OPENED=$opened
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$home/run \
    PATH="$work/opener:$PATH" QT_QPA_PLATFORM=xcb \
    xvfb-run --auto-servernum --server-args='-screen 0 1280x800x24' bash -c '
        "$KORVANE_PROGRAM" & program=$!
        # The splash window comes first; F1 counts once the main window,
        # found by the class the desktop entry names, has the focus.
        for attempt in $(seq 60); do
            sleep 0.5
            for window in $(xdotool search --onlyvisible --class "^Korvane$" 2>/dev/null); do
                xdotool windowfocus --sync "$window" key F1 2> /dev/null || true
            done
            [ -s "$KORVANE_OPENED" ] && break
        done
        kill "$program"
        wait "$program" || true'
help_page=$(readlink -f "$prefix/share/korvane/help.html")
asked=$(head -n 1 "$opened" 2> /dev/null || true)
echo "F1 opened: ${asked:-nothing}"
[ "$(readlink -f "$asked")" = "$help_page" ]
echo "installed product checked"
