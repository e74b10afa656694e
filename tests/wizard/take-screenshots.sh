#!/bin/sh
# Photographs the four pages of the settings wizard on Wine's own desktop
# (which draws the title bar) into docs/wizard-page1.png .. wizard-page4.png.
# Usage, from a build whose WizardTests.exe is up to date:
#   WINEPREFIX=$BUILD_DIR/bin/wineprefix xvfb-run -a -s "-screen 0 1024x768x24" \
#       scripts/wine-session.sh tests/wizard/take-screenshots.sh $BUILD_DIR/bin/WizardTests.exe
set -e
root="$(cd "$(dirname "$0")/../.." && pwd)"
tests="$1"
shots="$(mktemp -d)"

VELLMORAN_SHOTS_DIR="$(winepath -w "$shots")" wine explorer /desktop=Shots,800x600 "$tests" \
    --gtest_also_run_disabled_tests --gtest_filter=WizardPictures.* >/dev/null 2>&1 &
wizard=$!

for page in 1 2 3 4; do
    ready="$shots/page$page.ready"
    waited=0
    while [ ! -s "$ready" ]; do
        sleep 0.5
        waited=$((waited + 1))
        if [ $waited -gt 120 ]; then echo "page $page never showed" >&2; kill $wizard; exit 1; fi
    done
    sleep 0.5
    import -window root -crop "$(cat "$ready")" +repage "$root/docs/wizard-page$page.png"
    echo "docs/wizard-page$page.png"
    rm "$ready"
done
wait $wizard
rmdir "$shots"
