# 64-bit Windows: x86_64-w64-mingw32-g++-posix, static runtime; the tests run under wine through
# scripts/run-wine-tests.sh. The details are in mingw-w64-common.cmake.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(OSTINEL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
