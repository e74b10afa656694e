#!/bin/sh
# Installs what the build and the tests need on a Debian machine, if missing:
# the i686 mingw-w64 cross compiler, Wine with 32-bit support, Xvfb, CMake,
# GoogleTest's source, ImageMagick (screenshots) and NSIS (the setup program).
set -e

packages="g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools cmake make googletest wine wine32:i386 wine64 xvfb xauth imagemagick nsis"

missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing="$missing $package"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
as_root=""
[ "$(id -u)" -eq 0 ] || as_root="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $as_root dpkg --add-architecture i386
fi
$as_root apt-get update -qq
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq $missing >/dev/null
