#!/usr/bin/env bash
# Builds the packages from one command: the Linux plug-in, tool and user guide, the 32-bit and
# 64-bit Windows DLLs and tools, then with CPack a Linux .tar.gz and .deb and the two Windows
# zips. Installs what is missing first (Debian 12, as root). Prints the packages at the end.
#
# Usage: scripts/package.sh          (relative paths below are taken from the repository root)
#   OSTINEL_PACKAGE_OUT=DIR         where the packages go (default build/packages)
#   OSTINEL_PACKAGE_BUILDS=PREFIX   build folders PREFIXlinux, PREFIXwin32, PREFIXwin64
#                                   (default build/package-). An existing folder is reused with
#                                   its settings; scripts/test.sh passes build/ to reuse its own.
#   OSTINEL_PACKAGE_LINUX_BUILD=DIR the Linux build folder instead of PREFIXlinux (the test
#                                   script passes build/linux-dev)
#   OSTINEL_PACKAGE_CMAKE_ARGS=...  settings for a folder configured here (default: Release,
#                                   no tests, no benchmarks), on top of the preset of its name
#   OSTINEL_USER_GUIDE_PDF=FILE     package this rendered guide instead of the Linux build's
#   OSTINEL_JOBS=N                  parallel build jobs (default: the number of cores)
#
# Every package must hold the user guide and the tool: a build that cannot make them fails
# here instead of producing a package without them.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=${OSTINEL_PACKAGE_OUT:-build/packages}
builds=${OSTINEL_PACKAGE_BUILDS:-build/package-}
case "$builds" in /*) ;; *) builds=$root/$builds ;; esac
cmake_args=${OSTINEL_PACKAGE_CMAKE_ARGS:-"-DCMAKE_BUILD_TYPE=Release -DOSTINEL_TESTS=OFF -DOSTINEL_BENCHMARKS=OFF"}
jobs=${OSTINEL_JOBS:-$(nproc)}
guide_name="Ostinel User Guide.pdf"

fail() {
    echo "package: $*" >&2
    exit 1
}

bash scripts/install-deps.sh all || fail "could not install the build tools"

configure() { # preset dir [cmake args...]
    local preset=$1 dir=$2
    shift 2
    if [ -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$dir" "$@" >/dev/null
    else
        # shellcheck disable=SC2086 # the settings are a list of words
        cmake --preset "$preset" -B "$dir" $cmake_args "$@" >/dev/null
    fi
}

has_target() { # dir target
    local targets
    targets=$(cmake --build "$1" --target help 2>/dev/null) || return 1
    grep -q "^$2:" <<<"$targets"
}

cpack_into() { # dir
    local dir=$1
    rm -rf "$dir/packages"
    (cd "$dir" && cpack -B "$dir/packages") || fail "cpack failed in $dir"
    find "$dir/packages" -maxdepth 1 -type f \( -name '*.deb' -o -name '*.tar.gz' -o -name '*.zip' \) \
        -exec cp {} "$out/" \;
}

mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out"/*.deb "$out"/*.tar.gz "$out"/*.zip

# Linux: plug-in, tool and the guide, which the Windows zips take from here.
linux=${OSTINEL_PACKAGE_LINUX_BUILD:-${builds}linux}
case "$linux" in /*) ;; *) linux=$root/$linux ;; esac
echo "== linux ($linux)"
guide=
if [ -n "${OSTINEL_USER_GUIDE_PDF:-}" ]; then
    guide=$(realpath -e "$OSTINEL_USER_GUIDE_PDF") || fail "no such guide: $OSTINEL_USER_GUIDE_PDF"
fi
configure linux "$linux" -DOSTINEL_GUIDE=ON "-DOSTINEL_USER_GUIDE_PDF=$guide"
targets=(Ostinel ostinel)
if [ -z "$guide" ]; then
    has_target "$linux" ostinel_user_guide ||
        fail "the Linux build in $linux makes no user guide (configured with OSTINEL_GUIDE=OFF?)"
    targets+=(ostinel_user_guide)
    guide=$linux/docs/guide/$guide_name
fi
cmake --build "$linux" -j "$jobs" --target "${targets[@]}" || fail "the Linux build failed"
[ -s "$guide" ] || fail "the user guide was not rendered: $guide"
cpack_into "$linux"

for arch in win32 win64; do
    dir=${builds}$arch
    echo "== $arch ($dir)"
    configure "$arch" "$dir" "-DOSTINEL_USER_GUIDE_PDF=$guide"
    has_target "$dir" ostinel || fail "the $arch build has no ostinel tool (ostinel.exe)"
    cmake --build "$dir" -j "$jobs" --target Ostinel ostinel || fail "the $arch build failed"
    bash scripts/check-dll.sh "$dir/src/ostinel/Ostinel.dll" || fail "the $arch DLL is not fit to ship"
    cpack_into "$dir"
done

echo
echo "Packages in $out:"
(cd "$out" && ls -l -- *.deb *.tar.gz *.zip)
