#!/usr/bin/env bash
# Installs what the build and the tests need on a bare Debian 12 (run as root, no sudo).
# Usage: install-deps.sh [run|linux|all]
#   run    what scripts/run.sh needs: the plug-in and the tool (preset linux), no test or
#          benchmark libraries
#   linux  also the native tests, benchmarks, sanitizer and fuzzer builds (scripts/test.sh)
#   all    also the mingw-w64 cross compilers and wine for the Windows binaries
set -u
what=${1:-all}
export DEBIAN_FRONTEND=noninteractive

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
want() { for p in "$@"; do have "$p" || need+=("$p"); done; }

case "$what" in
run | linux | all) ;;
*) echo "usage: install-deps.sh [run|linux|all]" >&2; exit 2 ;;
esac

want build-essential cmake ninja-build pkg-config \
     libstb-dev fonts-dejavu-core libx11-dev nlohmann-json3-dev
if [ "$what" != run ]; then
  want git googletest libgtest-dev libgmock-dev libbenchmark-dev \
       clang libclang-rt-14-dev clang-format \
       libxtst-dev xvfb xauth x11-apps imagemagick python3 python3-mido
  # The user guide: Markdown to HTML to PDF, and the checks of the PDF.
  want pandoc weasyprint poppler-utils
fi
if [ "$what" = all ]; then
  want g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  # Packages: dpkg-shlibdeps computes the .deb's dependencies; unzip checks the Windows zips.
  want dpkg-dev unzip
  if ! dpkg --print-foreign-architectures | grep -q i386; then
    dpkg --add-architecture i386
    need+=(wine wine32:i386 wine64)
  else
    want wine wine64 wine32:i386
  fi
fi

if [ ${#need[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi
echo "install-deps: installing ${need[*]}"
# A mirror that is mid-sync can fail one suite's index; judge by the install below.
apt-get update -q || true
install() { apt-get install -y -q --no-install-recommends "$@"; }
install "${need[@]}" && exit 0
echo "install-deps: retrying with -t bookworm"
install -t bookworm "${need[@]}" && exit 0
# The 32-bit wine is only needed where the kernel runs 32-bit programs; the 64-bit tests and
# every build work without it, so its absence must not stop the rest.
rest=()
for p in "${need[@]}"; do [ "$p" = wine32:i386 ] || rest+=("$p"); done
[ ${#rest[@]} -lt ${#need[@]} ] || exit 1
echo "install-deps: installing without wine32:i386 (the 32-bit wine tests will be skipped)"
install "${rest[@]}" || install -t bookworm "${rest[@]}"
