#!/bin/sh
# Runs a command with one wineserver kept alive for all of it, in the build's
# own prefix, and leaves no Wine process behind. Meant to run under Xvfb or
# on a real display.
#
# With WINE_DESKTOP set (for example 1024x768) the prefix gets a virtual
# desktop of that size: Wine then draws the window frames itself and does not
# wait for a window manager that Xvfb lacks (which costs two seconds at every
# window that is hidden).
export WINEPREFIX="${WINEPREFIX:?}"
export WINEARCH="${WINEARCH:-win32}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="

mkdir -p "$WINEPREFIX"
if [ -n "$WINE_DESKTOP" ] && ! grep -qs "\"Default\"=\"$WINE_DESKTOP\"" "$WINEPREFIX/user.reg"; then
    ${WINE:-wine} reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
    ${WINE:-wine} reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$WINE_DESKTOP" /f >/dev/null 2>&1 </dev/null
    wineserver -w
fi

# Wine's helper processes start here, without the pipes of the command's
# output: they would keep a caller that reads those pipes waiting.
wineserver -p
${WINE:-wine} cmd /c exit >/dev/null 2>&1 </dev/null
"$@"
status=$?
wineserver -k 2>/dev/null
wineserver -w
exit $status
