#!/bin/sh
# Installs what is missing, builds, and runs every test (unit and GUI) under
# Wine on a virtual display. Exits non-zero on any failure.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

"$root/scripts/setup.sh"
BUILD_DIR="$build" "$root/scripts/build.sh"

export WINEARCH="$("$root/scripts/test-arch.sh")"
tests="$build"
if [ "$WINEARCH" = win64 ]; then
    tests="$build/x64"
    export WINE=/usr/lib/wine/wine64 WINELOADER=/usr/lib/wine/wine64
fi
echo "Tests run as $WINEARCH programs."
export WINEPREFIX="$tests/bin/wineprefix"
export WINE_DESKTOP=1024x768
cd "$tests"
set +e
xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine-session.sh" \
    ctest --output-on-failure --timeout 3600
status=$?
set -e
if [ $status -eq 0 ]; then echo "All tests passed."; else echo "Tests FAILED."; fi
exit $status
