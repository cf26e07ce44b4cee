#!/usr/bin/env bash
# Plays a whole game of the installed program under a headless Wayland compositor and checks
# what the screen shows: the title in the window's own title bar, the flag, the masks closed at
# rest and the frames laid out in the height the compositor gave.
# Usage: tests/integration/partie_wayland.sh [BUILD_DIR]   (default build/dev); the screenshots
# are kept in $PAVORIA_CAPTURES when it names a folder.
# Needs: weston qt6-wayland dbus at-spi2-core python3-pyatspi netpbm; without them it reports a
# skip (77).
set -euo pipefail
cd "$(dirname "$0")/../.."
construction=$(realpath "${1:-build/dev}")

for outil in weston weston-screenshooter dbus-run-session pngtopnm; do
    command -v "$outil" >/dev/null || { echo "SKIP: $outil is missing"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    { echo "SKIP: python3-pyatspi is missing"; exit 77; }
# Qt 6.10 made the Wayland plugins, libqwayland-generic.so and the others, one libqwayland.so.
[ -n "$(find /usr/lib -path '*platforms/libqwayland*.so' -print -quit)" ] ||
    { echo "SKIP: qt6-wayland is missing"; exit 77; }

travail=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$travail"' EXIT
# An installed copy: the game plays on a copy of its file in the data folder set below.
cmake --install "$construction" --prefix "$travail/usr" >/dev/null
export HOME=$travail XDG_DATA_HOME=$travail/donnees XDG_CONFIG_HOME=$travail/config
export XDG_RUNTIME_DIR=$travail/execution
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DISPLAY

# --debug lets weston-screenshooter in; --idle-time=0 keeps the output awake, since a
# compositor without input goes idle after 300 s and a screenshot then never completes.
weston --backend=headless-backend.so --use-pixman --width=1600 --height=1000 \
    --socket=wayland-essai --idle-time=0 --debug --no-config >"$travail/weston.log" 2>&1 &
for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/wayland-essai" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/wayland-essai" ] || {
    echo "weston did not open its socket within 5 s:" >&2
    cat "$travail/weston.log" >&2
    exit 1
}
export WAYLAND_DISPLAY=wayland-essai QT_QPA_PLATFORM=wayland
# Headless weston has no seat but offers text-input: Qt 6.4 then crashes in its own input
# context when a line edit is painted (fixed in Qt 6.5.3); the compose context avoids it.
export QT_IM_MODULE=compose
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

dbus-run-session -- bash -c '
    # The accessibility bus must be up before the program starts, or Qt never registers.
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress >/dev/null
    "$1/usr/games/pavoria" >"$1/pavoria.log" 2>&1 &
    /usr/bin/python3 tests/integration/partie_wayland.py "$2"
' _ "$travail" "${PAVORIA_CAPTURES:-$travail/captures}"
