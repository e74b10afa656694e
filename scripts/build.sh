#!/bin/sh
# Configures and builds everything into ${BUILD_DIR:-build}: Vellmoran.exe,
# VellmoranD.exe side by side in bin/, the test executables with the
# daemon's test double in tests/. On a machine that runs no 32-bit programs
# the same tree is built for 64-bit Windows as well, in x64/ below it, for
# the tests (scripts/test-arch.sh).
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

configure_and_build() {
    cmake -S "$root" -B "$1" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$1" -j "$(nproc)"
}

configure_and_build "$build" i686-mingw-w64.cmake
if [ "$("$root/scripts/test-arch.sh")" = win64 ]; then
    configure_and_build "$build/x64" x86_64-mingw-w64.cmake
fi
