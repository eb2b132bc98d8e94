#!/usr/bin/env bash
# Builds everything and runs every test: the formatting check, the Linux build with all unit and
# host tests and the benchmarks (preset linux-dev), the ThreadSanitizer run (the tests labelled
# tsan), the fuzzers (a short run each from the seed corpus the build names), the two Windows
# DLLs with their tests under wine (the programs the build lists), and the packages made from
# those builds and checked as a user meets them. Installs what is missing first (Debian 12, as
# root).
#
# Usage: scripts/test.sh            everything
#        OSTINEL_STAGES="linux tsan" scripts/test.sh   only some stages
#        OSTINEL_FUZZ_SECONDS=20    seconds per fuzzer (default 20)
#        OSTINEL_NO_32BIT=1         behave as on a kernel without 32-bit support: the win32
#                                   DLL is built and checked, its wine tests are skipped, and
#                                   win64 uses wine's 64-bit loader directly
#        OSTINEL_PACKAGE_BUILDS, OSTINEL_PACKAGE_OUT   the package stage's build folders
#                                   (default the stages' own, build/) and output (build/packages)
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
stages=${OSTINEL_STAGES:-"format linux tsan fuzz win32 win64 package"}
fuzz_seconds=${OSTINEL_FUZZ_SECONDS:-20}
jobs=${OSTINEL_JOBS:-$(nproc)}
# Warnings are errors here, not in the presets: a user's newer or older compiler may warn
# where ours does not, and that must not break their build.
werror=-DOSTINEL_WERROR=ON
# shellcheck source=wine-env.sh
. scripts/wine-env.sh
skipped=()

need_windows=no
case " $stages " in *" win32 "* | *" win64 "* | *" package "*) need_windows=yes ;; esac
if [ "$need_windows" = yes ]; then
    bash scripts/install-deps.sh all || exit 1
else
    bash scripts/install-deps.sh linux || exit 1
fi

passed=0
failed=0
failures=()
stage_ok() { passed=$((passed + 1)); echo "== stage $1: ok"; }
stage_failed() { failed=$((failed + 1)); failures+=("$1"); echo "== stage $1: FAILED"; }
run_stage() { # name command...
    local name=$1
    shift
    echo
    echo "=================== $name ==================="
    local start=$SECONDS
    if "$@"; then stage_ok "$name"; else stage_failed "$name"; fi
    echo "== stage $name took $((SECONDS - start)) s"
}

format() { # the checked-in clang-format style
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
}

linux() { # the linux-dev preset: the product with the tests and the benchmarks
    cmake --preset linux-dev $werror >/dev/null &&
        cmake --build --preset linux-dev -j "$jobs" &&
        xvfb-run -a ctest --test-dir build/linux-dev --output-on-failure -j "$jobs" \
            --no-tests=error &&
        benchmarks build/linux-dev/bench/benchmarks.txt
}

benchmarks() { # every benchmark program the build lists; figures only, no assertions
    [ -s "$1" ] || { echo "no benchmark list $1"; return 1; }
    local program
    while read -r program; do
        echo "-- $(basename "$program"):"
        "$program" --benchmark_min_time=0.05 || return 1
    done <"$1"
}

tsan() { # the test programs labelled tsan in their list files (build target ostinel_tsan_tests)
    cmake --preset linux-tsan $werror >/dev/null &&
        cmake --build --preset linux-tsan -j "$jobs" &&
        TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
            ctest --test-dir build/linux-tsan --output-on-failure -L tsan --no-tests=error
}

fuzz() {
    cmake --preset linux-fuzz $werror >/dev/null && cmake --build --preset linux-fuzz -j "$jobs" || return 1
    # Every fuzzer the build defines, with its seed corpus: "program<TAB>corpus" per line.
    local list=build/linux-fuzz/fuzz/fuzzers.txt
    [ -s "$list" ] || { echo "no fuzzer list $list"; return 1; }
    local ok=0 work target corpus name
    work=$(mktemp -d)
    while IFS=$'\t' read -r target corpus; do
        name=$(basename "$target")
        mkdir -p "$work/$name"
        echo "-- $name for ${fuzz_seconds} s (seeds: $corpus)"
        if ! "$target" "$work/$name" "$corpus" -max_total_time="$fuzz_seconds" \
            -rss_limit_mb=4096 -print_final_stats=1 >"$work/$name.log" 2>&1; then
            tail -n 60 "$work/$name.log"
            ok=1
        else
            grep -E 'Done [0-9]+ runs' "$work/$name.log"
        fi
    done <"$list"
    rm -rf "$work"
    return $ok
}

windows() { # preset
    local preset=$1
    cmake --preset "$preset" $werror >/dev/null &&
        cmake --build --preset "$preset" -j "$jobs" &&
        bash scripts/check-dll.sh "build/$preset/src/ostinel/Ostinel.dll" &&
        bash scripts/check-dll.sh "build/$preset/tools/ostinel/ostinel.exe" || return 1
    if [ "$preset" = win32 ] && ! ostinel_can_run_32bit; then
        skipped+=("win32 wine tests ($(ostinel_no_32bit_reason))")
    fi
    bash scripts/run-wine-tests.sh "build/$preset" "$preset"
}

# The packages from the builds above (only the targets they hold are built again, and nothing
# when those stages ran), then unpacked and run as a user would: scripts/check-packages.sh.
package() {
    local out=${OSTINEL_PACKAGE_OUT:-build/packages}
    OSTINEL_PACKAGE_BUILDS=${OSTINEL_PACKAGE_BUILDS:-build/} OSTINEL_PACKAGE_CMAKE_ARGS="$werror" \
        OSTINEL_PACKAGE_LINUX_BUILD=${OSTINEL_PACKAGE_LINUX_BUILD:-build/linux-dev} \
        OSTINEL_PACKAGE_OUT=$out OSTINEL_JOBS=$jobs bash scripts/package.sh || return 1
    if ! ostinel_can_run_32bit; then
        skipped+=("win32 zip under wine ($(ostinel_no_32bit_reason))")
    fi
    bash scripts/check-packages.sh "$out"
}

for stage in $stages; do
    case "$stage" in
    format) run_stage format format ;;
    linux) run_stage linux linux ;;
    tsan) run_stage tsan tsan ;;
    fuzz) run_stage fuzz fuzz ;;
    win32 | win64) run_stage "$stage" windows "$stage" ;;
    package) run_stage package package ;;
    *) echo "unknown stage $stage"; stage_failed "$stage" ;;
    esac
done

echo
for s in "${skipped[@]}"; do echo "skipped: $s"; done
[ ${#failures[@]} -eq 0 ] || echo "failed stages: ${failures[*]}"
echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
