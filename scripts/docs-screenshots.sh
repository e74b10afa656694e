#!/bin/sh
# Regenerates the pictures in docs/ from the built programs, on a virtual
# display, in a Wine prefix and a folder of their own: the control panel,
# the wizard's pages, the delay field's arrows, the lock screen plain (Caps
# Lock on, after a wrong password) and with an image, and the idle notice.
# Run ./scripts/build.sh first.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
export WINEARCH="$("$root/scripts/test-arch.sh")"
out="$build"
if [ "$WINEARCH" = win64 ]; then
    out="$build/x64"
    export WINE=/usr/lib/wine/wine64 WINELOADER=/usr/lib/wine/wine64
fi
export WINEPREFIX="$build/wineprefix-docs-$WINEARCH" WINE_DESKTOP=1024x768
run="$build/docs-run"
rm -rf "$run"
mkdir -p "$run"
cp "$out/bin/Vellmoran.exe" "$out/bin/VellmoranD.exe" "$run/"
python3 "$root/scripts/docs/settings.py" "$run"
export DOCS="$root/docs" RUN="$run" DRIVER="$out/docs-tools/DocsDriver.exe"
xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine-session.sh" sh "$root/scripts/docs/shoot.sh"
