#!/usr/bin/env bash
# Sourced by the wine scripts: which wine loader to use, and whether this machine can run
# 32-bit programs at all.
#
# Some kernels are built without 32-bit support. There Debian's `wine` wrapper still starts the
# 32-bit loader whenever wine32:i386 is installed and fails with "Exec format error", while the
# 64-bit loader works. So 64-bit prefixes use /usr/lib/wine/wine64 directly on such a machine,
# and 32-bit runs are skipped (said plainly, never counted as passed).
#
# OSTINEL_NO_32BIT=1 makes the scripts behave as on such a kernel, so the fallback can be
# exercised on any machine.

# True when a 32-bit program starts here. The probe is the 32-bit dynamic loader itself: it is
# there with libc6:i386 (which wine32 brings) and runs only where the kernel can run it.
ostinel_can_run_32bit() {
    [ "${OSTINEL_NO_32BIT:-0}" = 1 ] && return 1
    [ -x /lib/ld-linux.so.2 ] || return 1
    /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

# Why 32-bit programs are not run here, in one line.
ostinel_no_32bit_reason() {
    if [ "${OSTINEL_NO_32BIT:-0}" = 1 ]; then
        echo "OSTINEL_NO_32BIT=1 simulates a kernel without 32-bit support"
    elif [ ! -x /lib/ld-linux.so.2 ]; then
        echo "no 32-bit runtime is installed (wine32:i386)"
    else
        echo "this kernel cannot execute 32-bit programs"
    fi
}

# Sets ostinel_wine (the command that runs a Windows program) for a win32 or win64 prefix, and
# exports WINELOADER where the 64-bit loader is used directly. Returns 1 when the prefix cannot
# run here (a win32 prefix without 32-bit support, or no wine at all).
ostinel_select_wine() { # win32|win64
    if ostinel_can_run_32bit; then
        command -v wine >/dev/null || return 1
        ostinel_wine=wine
        return 0
    fi
    [ "$1" = win64 ] || return 1
    [ -x /usr/lib/wine/wine64 ] || return 1
    ostinel_wine=/usr/lib/wine/wine64
    export WINELOADER=/usr/lib/wine/wine64
    return 0
}
