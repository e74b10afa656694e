#!/bin/sh
# Prints the Windows architecture the tests run as on this machine: win32,
# the product's own, where the kernel runs 32-bit programs (and so Wine's
# 32-bit loader); win64 where it does not, as on kernels booted without
# 32-bit emulation.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo win32; else echo win64; fi
