#!/bin/sh
# Runs a command with one wineserver kept alive for all of it, in the build's
# own prefix, and leaves no Wine process behind. Meant to run under Xvfb or
# on a real display.
#
# The prefix gets a virtual desktop of 1024x768: Wine then draws the window
# frames itself and does not wait for a window manager that Xvfb lacks (which
# cost two seconds at every window that was hidden).
export WINEPREFIX="${WINEPREFIX:?}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="

mkdir -p "$WINEPREFIX"
if ! grep -qs '"Desktop"="Default"' "$WINEPREFIX/user.reg"; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 </dev/null
    wineserver -w
fi

# Wine's helper processes start here, without the pipes of the command's
# output: they would keep a caller that reads those pipes waiting.
wineserver -p
wine cmd /c exit >/dev/null 2>&1 </dev/null
"$@"
status=$?
wineserver -k 2>/dev/null
wineserver -w
exit $status
