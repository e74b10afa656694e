#!/bin/sh
# Runs a command with one wineserver kept alive for all of it, in the build's
# own prefix, and leaves no Wine process behind. Meant to run under Xvfb or
# on a real display: Wine's helper processes start here, on that display,
# and without the pipes of the command's output (they would keep a caller
# that reads them waiting).
export WINEPREFIX="${WINEPREFIX:?}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="

mkdir -p "$WINEPREFIX"
wineserver -p
wine cmd /c exit >/dev/null 2>&1 </dev/null
"$@"
status=$?
wineserver -k 2>/dev/null
wineserver -w
exit $status
