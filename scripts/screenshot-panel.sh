#!/bin/sh
# Starts the panel on Wine's own desktop (which draws the title bar) and
# saves a picture of it.
# Usage: screenshot-panel.sh Vellmoran.exe out.png [--quit]
exe="$1"
out="$2"
quit="$3"

${WINE:-wine} explorer /desktop=Vellmoran,800x600 "$exe" &
panel=$!
# The prefix exists already (wine-session made it); the panel is up in
# seconds. A fixed wait: the panel lives inside Wine's desktop window, so X
# cannot tell when it has been drawn.
sleep 6
import -window root -crop 800x600+0+0 +repage "$out"
echo "Screenshot of the control panel: $out"
if [ "$quit" = "--quit" ]; then
    kill $panel 2>/dev/null
    exit 0
fi
echo "The panel runs on a virtual display; press Ctrl+C to end."
wait $panel
