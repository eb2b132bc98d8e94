# Shared part of the two mingw-w64 toolchains. Expects OSTINEL_MINGW_TRIPLE (i686-w64-mingw32 or
# x86_64-w64-mingw32) to be set by the including file.
#
# What the Windows binaries must look like, and how we get there (each point checked with
# "<triple>-objdump -p" on a DLL that uses exceptions, std::string and std::thread):
#
# * posix thread variant (*-g++-posix): std::thread, std::mutex and std::condition_variable work.
#   It pulls in winpthread, which must then be linked statically as well.
# * Static runtime: "-static -static-libgcc -static-libstdc++" on every link (EXE, DLL, module).
#   -static makes ld prefer lib*.a over lib*.dll.a for every -l, so libstdc++, libgcc(_eh) and
#   libwinpthread go in statically; the system libraries (libkernel32.a, libuser32.a, ...) are
#   import libraries only, so KERNEL32.dll and friends stay ordinary imports. Imports of such a
#   DLL: KERNEL32.dll msvcrt.dll (+ USER32, GDI32, ADVAPI32, SHELL32, ... as used).
#     no flags                            + libwinpthread-1.dll libgcc_s_dw2-1.dll libstdc++-6.dll
#     -static-libgcc -static-libstdc++    + libwinpthread-1.dll
#     -static -static-libgcc -static-libstdc++   system DLLs only
# * Exports of the plug-in DLL come from a .def file listed among the target's sources (CMake
#   hands it to ld for MinGW):
#       EXPORTS
#           VSTPluginMain
#           main = VSTPluginMain
#           winampDSPGetHeader2
#   An EXPORTS list switches ld's auto-export off, so only the listed names are exported even
#   with the whole static runtime inside (without a .def the same DLL exports ~170 names:
#   pthread_*, _Unwind_*, typeinfo). "main = VSTPluginMain" exports a second name for the same
#   address; never define a C function called main in the DLL (gcc treats main specially).
#   The entry points are cdecl (extern "C", no calling-convention attribute): on i686 the object
#   symbol is _VSTPluginMain and ld maps the .def name onto it, so the export stays undecorated.
#   A __stdcall entry would be _VSTPluginMain@4: a plain .def name then only links through ld's
#   "stdcall fixup" (with a warning), and the clean way is "VSTPluginMain@4" in the .def plus
#   -Wl,--kill-at. VST 2.4 and Winamp call these entries as cdecl, so none of that applies.
# * -Wl,--exclude-all-symbols (below, for DLLs and modules) is a guard: a DLL linked without a
#   .def exports nothing instead of every global symbol; .def entries are not affected.
# * CMake names a MinGW DLL lib<name>.dll and writes an import library lib<name>.dll.a beside
#   it; the plug-in target sets PREFIX "" and the import library is simply not shipped.
# * Exit codes under wine: see scripts/wine-prefix.sh (winedbg is disabled there so that a
#   crash always ends the test program with a non-zero status).

set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${OSTINEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OSTINEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${OSTINEL_MINGW_TRIPLE}-windres)

# Look for target libraries and headers only in the mingw sysroot, for build tools only on the host.
set(CMAKE_FIND_ROOT_PATH /usr/${OSTINEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(_ostinel_static_runtime "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_ostinel_static_runtime}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_ostinel_static_runtime} -Wl,--exclude-all-symbols")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_ostinel_static_runtime} -Wl,--exclude-all-symbols")

# No CMAKE_CROSSCOMPILING_EMULATOR and no tests registered with ctest: the cross-built test
# programs run under wine through scripts/run-wine-tests.sh, which reads the list the build writes
# (tests/test-programs.txt) and runs each program in a private, throwaway prefix.
