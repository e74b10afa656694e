#!/bin/sh
# The screenshots themselves, under scripts/docs-screenshots.sh. Each step
# waits a fixed time: the pictures are looked at, and a late frame only
# means taking them again.
set -e
wine="${WINE:-wine}"
# A slide of the wizard takes seconds under Wine.
shot() { sleep "${2:-3}"; import -window root "$DOCS/$1.png"; echo "docs/$1.png"; }

cp "$RUN/first.bin" "$RUN/Vellmoran.bin"
$wine "$RUN/Vellmoran.exe" &
shot panel
$wine "$DRIVER" click "Vellmoran v1.02" 1002     # Stop && Configure
shot wizard-page1
page=1
for next in 1017 1018 1020; do   # the Next buttons of pages 1 to 3
    $wine "$DRIVER" click "Vellmoran - Settings" $next
    page=$((page + 1))
    shot wizard-page$page 15
done
$wine "$DRIVER" click "Vellmoran - Settings" 5     # Cancel
$wine "$DRIVER" click "Vellmoran v1.02" 2          # close the panel
sleep 2

cp "$RUN/plain.bin" "$RUN/Vellmoran.bin"
$wine "$RUN/VellmoranD.exe" &
sleep 4
$wine "$DRIVER" keys "^"
$wine "$DRIVER" keys "shut!~"
shot lock-screen
wineserver -k; sleep 2; wineserver -p; $wine cmd /c exit

cp "$RUN/image.bin" "$RUN/Vellmoran.bin"
$wine "$RUN/VellmoranD.exe" &
sleep 4
$wine "$DRIVER" keys "^"
shot lock-screen-image
wineserver -k; sleep 2; wineserver -p; $wine cmd /c exit

cp "$RUN/idle.bin" "$RUN/Vellmoran.bin"
# A delay of one minute: the notice counts down its last 6 seconds.
VELLMORAN_TEST_MINUTE_MS=60000 $wine "$RUN/VellmoranD.exe" &
shot idle-notice 56
