#!/bin/sh
# Runs a Windows program as at-dpi.sh DPI PROGRAM [ARGUMENT...] in a copy of
# the Wine prefix $WINEPREFIX whose system DPI (LogPixels) is DPI, under a
# wineserver of its own that ends with it. The copy is made once and kept
# beside the prefix.
dpi="${1:?DPI}"
shift
export WINEPREFIX="${WINEPREFIX:?}-dpi$dpi"
if [ ! -f "$WINEPREFIX/dpi-$dpi" ]; then
    rm -rf "$WINEPREFIX"
    cp -a "${WINEPREFIX%-dpi$dpi}" "$WINEPREFIX"
    ${WINE:-wine} reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        >/dev/null 2>&1 </dev/null
    # The DPI is read when the wineserver starts.
    wineserver -k 2>/dev/null
    wineserver -w
    touch "$WINEPREFIX/dpi-$dpi"
fi
wineserver -p
${WINE:-wine} "$@"
status=$?
wineserver -k 2>/dev/null
wineserver -w
exit $status
