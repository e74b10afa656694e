#!/bin/sh
# Installs what is missing, builds, and shows the control panel under Wine.
# With a display it opens there. Without one it runs on a virtual display,
# writes a screenshot of the panel to build/screenshots/panel.png and keeps
# running until interrupted, or quits after the screenshot with --quit.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

"$root/scripts/setup.sh"
BUILD_DIR="$build" "$root/scripts/build.sh"

# Where the kernel runs no 32-bit programs, the 64-bit build is what Wine
# can show.
export WINEARCH="$("$root/scripts/test-arch.sh")"
bin="$build/bin"
if [ "$WINEARCH" = win64 ]; then
    bin="$build/x64/bin"
    export WINE=/usr/lib/wine/wine64 WINELOADER=/usr/lib/wine/wine64
fi

if [ -n "$DISPLAY" ]; then
    # A prefix of its own, without the tests' virtual desktop: the panel
    # opens as a window of your desktop.
    export WINEPREFIX="$build/wineprefix-display-$WINEARCH"
    exec "$root/scripts/wine-session.sh" "${WINE:-wine}" "$bin/Vellmoran.exe"
fi

export WINEPREFIX="$bin/wineprefix"

mkdir -p "$build/screenshots"
exec xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine-session.sh" \
    "$root/scripts/screenshot-panel.sh" "$bin/Vellmoran.exe" "$build/screenshots/panel.png" "$@"
