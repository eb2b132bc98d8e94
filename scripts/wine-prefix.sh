#!/usr/bin/env bash
# Creates a private wine prefix for the Windows builds, and optionally runs a program in it.
#
# Usage: wine-prefix.sh ARCH DIR                 ARCH is win32 or win64; makes DIR a ready prefix
#        wine-prefix.sh ARCH DIR -- PROGRAM ARGS   the same, then runs "wine PROGRAM ARGS" there
#                                                  and exits with the program's exit code
#
# Idempotent and safe to call from parallel test runs: a lock serialises creation and a marker
# file says the prefix is complete, so a second call returns at once. No dialogs: Mono/Gecko
# installs are disabled, no X display is used, wineboot runs under a timeout.
#
# Nothing touches the real user's files: HOME (and the XDG folders) point into DIR/home, so the
# prefix's "My Documents" is the symlink drive_c/users/<user>/Documents -> DIR/home/Documents,
# and winemenubuilder (desktop entries, file associations) is disabled. Deleting DIR removes
# everything the prefix ever wrote.
#
# Headless: the prefix uses wine's null graphics driver (HKCU\Software\Wine\Drivers,
# Graphics=null), so programs can create windows and draw into DIBs with no X server and no
# $DISPLAY; nothing is ever shown. $DISPLAY is unset anyway. A crashing program exits non-zero
# at once, without a crash dialog.
#
# A win64 prefix also runs 32-bit programs (WoW64); a win32 prefix needs wine32:i386 and a
# kernel that runs 32-bit programs. Where the kernel cannot (or OSTINEL_NO_32BIT=1), a win64
# prefix uses the 64-bit loader directly and a win32 prefix exits with status 3 (see
# wine-env.sh).
#
# Environment: OSTINEL_WINEBOOT_TIMEOUT (seconds, default 300) bounds prefix creation;
# WINEDEBUG is kept if set (default -all); OSTINEL_WINE_BACKTRACE=1 prints a backtrace on a
# crash (see below for why it is off by default).
set -euo pipefail

usage() {
    echo "usage: wine-prefix.sh win32|win64 DIR [-- PROGRAM [ARGS...]]" >&2
    exit 2
}

[ $# -ge 2 ] || usage
arch=$1
case "$arch" in
win32 | win64) ;;
*) usage ;;
esac
mkdir -p "$2"
dir=$(cd "$2" && pwd)
shift 2
if [ $# -gt 0 ]; then
    [ "$1" = "--" ] || usage
    shift
    [ $# -gt 0 ] || usage
fi

# shellcheck source=wine-env.sh
. "$(dirname "$0")/wine-env.sh"
if ! ostinel_select_wine "$arch"; then
    if ! command -v wine >/dev/null; then
        echo "wine-prefix: wine is not installed (scripts/install-deps.sh all)" >&2
    else
        echo "wine-prefix: cannot run a $arch prefix: $(ostinel_no_32bit_reason)" >&2
    fi
    exit 3
fi

export WINEPREFIX=$dir
export WINEARCH=$arch
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko install prompts, no desktop entries or file associations in $HOME. winedbg is
# off too: with it, wine 8 lets a crashed 32-bit program that had ever started a second thread
# exit with status 0; without it every crash exits with the exception code (5 for an access
# violation). OSTINEL_WINE_BACKTRACE=1 turns winedbg back on to see a backtrace.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -z "${OSTINEL_WINE_BACKTRACE:-}" ]; then
    WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winedbg.exe=d"
fi
export HOME=$dir/home
export XDG_CONFIG_HOME=$HOME/.config
export XDG_DATA_HOME=$HOME/.local/share
export XDG_CACHE_HOME=$HOME/.cache
unset XDG_DOCUMENTS_DIR XDG_DESKTOP_DIR DISPLAY WAYLAND_DISPLAY

marker=$dir/.ostinel-prefix

# Null graphics driver (windows work without X). With OSTINEL_WINE_BACKTRACE, a crash prints
# winedbg's backtrace to stderr instead of waiting on a crash dialog nobody can close.
write_settings() {
    cat >"$dir/drive_c/ostinel-prefix.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Graphics"="null"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
EOF
}

create_prefix() {
    local state=""
    [ -f "$marker" ] && state=$(cat "$marker")
    case "$state" in
    "ready $arch") return 0 ;;
    ready*)
        echo "wine-prefix: $dir is a ${state#ready } prefix, not $arch" >&2
        exit 1
        ;;
    creating*) # an earlier run was interrupted: start over
        find "$dir" -mindepth 1 -maxdepth 1 ! -name .lock -exec rm -rf {} + ;;
    *)
        if [ -n "$(find "$dir" -mindepth 1 -maxdepth 1 ! -name .lock -print -quit)" ]; then
            echo "wine-prefix: $dir is not empty and not a prefix made by this script" >&2
            exit 1
        fi
        ;;
    esac

    echo "creating $arch" >"$marker"
    # Wine links "My Documents" to $HOME/Documents when that folder exists (else to $HOME).
    mkdir -p "$HOME/Documents" "$XDG_CONFIG_HOME"
    local start
    start=$(date +%s%N)
    local limit=${OSTINEL_WINEBOOT_TIMEOUT:-300}
    local rc=0
    (timeout "$limit" "$ostinel_wine" wineboot -i && write_settings &&
        timeout 60 "$ostinel_wine" regedit /S 'C:\ostinel-prefix.reg' &&
        timeout 60 wineserver -w) >"$dir/wineboot.log" 2>&1 || rc=$?
    if [ $rc -ne 0 ]; then
        wineserver -k >/dev/null 2>&1 || true # whatever wineboot left running in this prefix
        cat "$dir/wineboot.log" >&2
        if [ $rc -eq 124 ]; then
            echo "wine-prefix: setting up the $arch prefix in $dir timed out" >&2
        else
            echo "wine-prefix: setting up the $arch prefix in $dir failed (exit $rc)" >&2
            [ "$arch" = win64 ] || echo "wine-prefix: a win32 prefix needs wine32:i386" >&2
        fi
        exit 1
    fi
    echo "ready $arch" >"$marker"
    local ms=$((($(date +%s%N) - start) / 1000000))
    printf 'wine-prefix: created %s prefix in %s (%d.%03d s)\n' "$arch" "$dir" $((ms / 1000)) $((ms % 1000)) >&2
}

exec 9>"$dir/.lock"
flock 9
create_prefix
flock -u 9
exec 9>&-

[ $# -gt 0 ] || exit 0
exec "$ostinel_wine" "$@"
