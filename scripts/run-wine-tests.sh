#!/usr/bin/env bash
# Runs every cross-built test program under wine in a fresh private prefix, prints each program's
# GoogleTest summary and exits non-zero if any fails. The programs are the ones the build lists in
# BUILD_DIR/tests/test-programs.txt (every ostinel_add_test target); one that is listed but not
# built counts as a failure. This is how the Windows tests run: the cross builds register nothing
# with ctest.
#
# Usage: run-wine-tests.sh BUILD_DIR win32|win64
#
# The prefix comes from wine-prefix.sh (headless, HOME inside the prefix) in a temporary folder
# that is removed afterwards, together with its wineserver. No X display is needed. Each
# program's full output is kept in BUILD_DIR/wine-test-logs/.
#
# Where this machine cannot run 32-bit programs (or OSTINEL_NO_32BIT=1), the win32 programs are
# not run: one line says so and they are counted as skipped (see wine-env.sh).
#
# Environment: OSTINEL_WINE_TEST_TIMEOUT  seconds per test program (default 900)
#              OSTINEL_KEEP_WINE_PREFIX=1 keep the prefix (its path is printed)
set -uo pipefail

if [ $# -ne 2 ] || { [ "$2" != win32 ] && [ "$2" != win64 ]; }; then
    echo "usage: run-wine-tests.sh BUILD_DIR win32|win64" >&2
    exit 2
fi
build=$(cd "$1" && pwd) || exit 2
arch=$2
here=$(cd "$(dirname "$0")" && pwd)
limit=${OSTINEL_WINE_TEST_TIMEOUT:-900}

list=$build/tests/test-programs.txt
if [ ! -s "$list" ]; then
    echo "run-wine-tests: no $list (configure the $arch preset with the tests first)" >&2
    exit 1
fi
mapfile -t tests <"$list"

# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
if [ "$arch" = win32 ] && ! ostinel_can_run_32bit; then
    # Built and checked, but not run: say so, and count the programs as skipped.
    echo "run-wine-tests: SKIPPED ${#tests[@]} win32 test programs: $(ostinel_no_32bit_reason)"
    echo "wine-$arch: 0 passed, 0 failed, ${#tests[@]} skipped"
    exit 0
fi
if ! ostinel_can_run_32bit; then
    echo "run-wine-tests: $(ostinel_no_32bit_reason); $arch runs with the 64-bit loader only"
fi

millis() { echo $(($(date +%s%N) / 1000000)); }
seconds() { printf '%d.%03d s' $(($1 / 1000)) $(($1 % 1000)); }

prefix=$(mktemp -d "${TMPDIR:-/tmp}/ostinel-wine-$arch.XXXXXX")
cleanup() {
    # Stop only this prefix's wineserver (and the programs it still serves).
    WINEPREFIX=$prefix wineserver -k 2>/dev/null
    if [ -n "${OSTINEL_KEEP_WINE_PREFIX:-}" ]; then
        echo "run-wine-tests: prefix kept in $prefix"
    else
        rm -rf "$prefix"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start=$(millis)
"$here/wine-prefix.sh" "$arch" "$prefix" || exit 1
echo "run-wine-tests: $arch prefix ready in $(seconds $(($(millis) - start)))"

logs=$build/wine-test-logs
mkdir -p "$logs"
passed=0
failed=0
skipped=0
bad=()
for exe in "${tests[@]}"; do
    name=$(basename "$exe" .exe)
    log=$logs/$name.log
    if [ ! -f "$exe" ]; then
        echo "== $name: FAILED (not built: $exe)"
        failed=$((failed + 1))
        bad+=("$name")
        continue
    fi
    start=$(millis)
    (cd "$(dirname "$exe")" &&
        timeout -k 10 "$limit" "$here/wine-prefix.sh" "$arch" "$prefix" -- "$exe" --gtest_color=no) \
        2>&1 | tr -d '\r' >"$log"
    rc=${PIPESTATUS[0]}
    took=$(seconds $(($(millis) - start)))

    # Count the per-test result lines ("... Suite.Name (N ms)"): they are there even when the
    # program dies before its closing summary.
    n_pass=$(grep -c '^\[       OK \] .* ([0-9]* ms)$' "$log")
    n_fail=$(grep -c '^\[  FAILED  \] .* ([0-9]* ms)$' "$log")
    n_skip=$(grep -c '^\[  SKIPPED \] .* ([0-9]* ms)$' "$log")
    passed=$((passed + n_pass))
    skipped=$((skipped + n_skip))

    # A program that dies early can still exit 0 (a test calling exit(0), or a crash under
    # winedbg): without GoogleTest's closing PASSED line it has not passed.
    if [ "$rc" -eq 0 ] && ! grep -q '^\[  PASSED  \]' "$log"; then
        rc=1
        echo "run-wine-tests: $name exited 0 without a GoogleTest summary" >>"$log"
    fi
    if [ "$rc" -eq 0 ]; then
        echo "== $name: ok ($took)"
        grep -E '^\[(==========|  PASSED  |  SKIPPED )\]|YOU HAVE [0-9]+ DISABLED' "$log"
    else
        # A crash or timeout ends a test without a FAILED line: count it as one failure.
        [ "$n_fail" -gt 0 ] || n_fail=1
        failed=$((failed + n_fail))
        bad+=("$name")
        if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
            echo "== $name: TIMED OUT after ${limit} s (exit $rc)"
        else
            echo "== $name: FAILED (exit $rc, $took)"
        fi
        echo "-- last 100 lines of $log:"
        tail -n 100 "$log"
    fi
done

echo
if [ ${#bad[@]} -gt 0 ]; then
    echo "run-wine-tests: failing programs under $arch: ${bad[*]}"
fi
if [ "$skipped" -gt 0 ]; then
    echo "wine-$arch: $passed passed, $failed failed, $skipped skipped"
else
    echo "wine-$arch: $passed passed, $failed failed"
fi
[ ${#bad[@]} -eq 0 ]
