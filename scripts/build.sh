#!/bin/sh
# Configures and builds everything into ${BUILD_DIR:-build}: Vellmoran.exe,
# VellmoranD.exe side by side in bin/, the test executables with the
# daemon's test double in tests/.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

cmake -S "$root" -B "$build" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"
