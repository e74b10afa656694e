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

# The delay field at its lower end, between, and at its upper end, with the
# " Delay" and "Minutes" labels beside it, four times as large.
cp "$RUN/spin.bin" "$RUN/Vellmoran.bin"
$wine "$DRIVER" click "Vellmoran v1.02" 1002
set -- $($wine "$DRIVER" rect "Vellmoran - Settings" 1013 1012 | tr -d '\r')
for delay in 1 15 30; do
    $wine "$DRIVER" text "Vellmoran - Settings" 1013 $delay
    sleep 1
    import -window root "$RUN/screen.png"
    convert "$RUN/screen.png" -crop "$(($3 - $1 + 135))x$(($4 - $2 + 16))+$(($1 - 50))+$(($2 - 8))" +repage \
        -scale 400% "$RUN/spin-$delay.png"
done
convert "$RUN/spin-1.png" "$RUN/spin-15.png" "$RUN/spin-30.png" -bordercolor "#404040" -border 4 +append \
    "$DOCS/flat-spin.png"
echo docs/flat-spin.png
$wine "$DRIVER" click "Vellmoran - Settings" 2     # Cancel of page 1
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
