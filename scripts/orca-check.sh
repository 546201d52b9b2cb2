#!/usr/bin/env bash
# Hear what a screen reader says: runs Korvane with Orca on a private X server
# (Xvfb) and a private D-Bus session, works every record command from the
# keyboard and prints, after each one, the lines Orca spoke (read from Orca's
# debug log, so no speech server or sound card is needed). Run it after
# changing the window to check what a blind user hears.
#   scripts/orca-check.sh [path of the korvane program]
# Nothing is written outside a temporary folder; Debian's orca, openbox,
# xvfb, xdotool, dbus-daemon and at-spi2-core must be installed.
set -euo pipefail

program="$(realpath "${1:-build/debug/src/app/korvane}")"
bus_launcher=/usr/libexec/at-spi-bus-launcher

if [ "${ORCA_CHECK_INSIDE:-}" != 1 ]; then
    for tool in xvfb-run dbus-run-session orca openbox xdotool; do
        command -v "$tool" > /dev/null || { echo "orca-check: $tool is not installed" >&2; exit 2; }
    done
    [ -x "$program" ] || { echo "orca-check: no program at $program" >&2; exit 2; }
    home="$(mktemp -d)"
    trap 'rm -rf "$home"' EXIT
    mkdir -m 700 "$home/runtime"
    env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
        XDG_CACHE_HOME="$home/.cache" XDG_STATE_HOME="$home/.local/state" XDG_RUNTIME_DIR="$home/runtime" \
        QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 ORCA_CHECK_INSIDE=1 \
        xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" dbus-run-session -- bash "$0" "$program" \
        2> >(grep '^orca-check' >&2)
    exit
fi

log="$HOME/orca.log"
# Orca's own settings: keys are not echoed, so that the log holds what the
# program made it say, and neither a speech server nor a braille display is
# looked for (the log has every line Orca would speak).
mkdir -p "$HOME/orca" "$HOME/Desktop"
cat > "$HOME/orca/user-settings.conf" << 'SETTINGS'
{"general": {"enableKeyEcho": false, "enableEchoByCharacter": false, "enableEchoByWord": false,
             "speechServerFactory": "", "speechFactoryModules": [], "enableBraille": false},
 "profiles": {"default": {"profile": ["Default", "default"], "enableKeyEcho": false,
                          "enableEchoByCharacter": false, "enableEchoByWord": false,
                          "speechServerFactory": "", "speechFactoryModules": [], "enableBraille": false,
                          "pronunciations": {}, "keybindings": {}}},
 "pronunciations": {}, "keybindings": {}}
SETTINGS
pids=()
# ORCA_CHECK_LOG names a file that keeps Orca's whole debug log.
trap 'kill "${pids[@]}" 2> /dev/null || true; [ -z "${ORCA_CHECK_LOG:-}" ] || cp "$log" "$ORCA_CHECK_LOG"' EXIT
"$bus_launcher" --launch-immediately 2> /dev/null &
pids+=($!)
openbox 2> /dev/null &
pids+=($!)
sleep 1
# Orca runs once per user: it refuses to start beside another Orca, and
# --replace would end that one, wherever it runs.
if pgrep -u "$(id -u)" -x orca > /dev/null; then
    echo "orca-check: another Orca runs for this user; try again when it has ended" >&2
    exit 1
fi
orca --user-prefs="$HOME/orca" --debug-file="$log" > "$HOME/orca.out" 2>&1 &
pids+=($!)
# Orca writes its log in blocks, so its readiness cannot be read from it.
sleep 5
"$program" 2> /dev/null &
pids+=($!)
# The splash window stands for three seconds before the main window.
xdotool search --sync --onlyvisible --name '^Korvane$' > /dev/null
sleep 2

# Waits until Orca has written nothing for two seconds (at most twelve).
settle() {
    local size=-1 waited=0
    while [ "$(stat -c %s "$log")" != "$size" ] && [ $waited -lt 12 ]; do
        size=$(stat -c %s "$log")
        sleep 2
        waited=$((waited + 2))
    done
}

# Presses the keys, waits for Orca to speak, and prints what it said.
step() {
    local title="$1"
    shift
    local before
    before=$(wc -l < "$log")
    for keys in "$@"; do
        case "$keys" in
            '') ;;
            type:*) xdotool type --delay 80 "${keys#type:}" ;;
            *) xdotool key --delay 150 $keys ;;
        esac
    done
    settle
    echo "== $title"
    # A spoken text with line breaks spans several lines of the log.
    tail -n +"$((before + 1))" "$log" | tr -d '\r' | awk '
        /SPEECH OUTPUT: '"'"'/ { text = $0; sub(/^.*SPEECH OUTPUT: '"'"'/, "", text); speaking = 1 }
        speaking && !/SPEECH OUTPUT/ { text = text " " $0 }
        speaking && /'"'"'\{/ { sub(/'"'"'\{.*$/, "", text); print "   " text; speaking = 0 }'

}

step "Start-up: the focus in the Product field" ""
step "Type a record, Tab after each field, up to Add Record" "type:Studio 2024" Tab "type:2024-05-01" Tab \
    "type:Jane Doe" Tab "type:CID-1" Tab "type:AAAA-2024" Tab "type:studio.example" Tab
step "Add Record: Return" Return
step "Tab to Add Record with the fields empty" "Tab Tab Tab Tab Tab Tab"
step "Add Record: Return" Return
step "To the list with shift+Tab" shift+Tab Home
step "Choose the record: Return" Return
step "Tab into the Product field, which reads its text" Tab
step "Tab to the Registration field and type a new code" "Tab Tab Tab Tab" ctrl+a "type:BBBB-2025"
step "Tab to Replace Selected Record" "Tab Tab Tab Tab"
step "Replace Selected Record: Return" Return
step "Type a product that is not in the list, Tab to Replace Selected Record" "type:Nothing" \
    "Tab Tab Tab Tab Tab Tab Tab Tab"
step "Replace Selected Record: Return" Return
step "To the list, choose the record: shift+Tab, Return" shift+Tab Return
step "Tab to Remove Selected Record" "Tab Tab Tab Tab Tab Tab Tab Tab"
step "Remove Selected Record: Return" Return
step "Type in the Product field, Tab to Clear Input Fields" "type:x" "Tab Tab Tab Tab Tab Tab Tab Tab Tab"
step "Clear Input Fields: Return" Return
# After an entry chosen from a sub-menu by key the window takes keys again
# only after Escape.
step "Copy the Registrant from the main menu" Menu Down Right Down Return Escape
step "Export from the main menu" Menu Down Down Right Return
step "Close the export message" Return
step "Import from the main menu" Menu Down Down Right Down Return Escape
step "Tab to the database buttons: Games" "Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab"
step "Choose Games with Space" space
step "Tab to the Main Menu button" "Tab Tab Tab"
step "Open the main menu with Return" Return
step "About from the main menu" Up Up Return
for _ in 1 2 3 4 5 6; do
    step "Tab in the About window" Tab
done
grep -q "SPEECH OUTPUT" "$log" || { echo "orca-check: Orca said nothing: $(tail -3 "$HOME/orca.out")" >&2; exit 1; }
