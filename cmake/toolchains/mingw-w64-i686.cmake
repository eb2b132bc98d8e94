# 32-bit Windows (the reference target): i686-w64-mingw32-g++-posix, static runtime; the tests
# run under wine through scripts/run-wine-tests.sh. The details are in mingw-w64-common.cmake.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(OSTINEL_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
