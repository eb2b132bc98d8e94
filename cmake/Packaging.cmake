# Install rules and CPack settings. Included last by the top-level CMakeLists.txt, once every
# target (plug-in, tool, guide) exists.
#
# Layout under the prefix:
#   Linux    lib/lxvst/Ostinel.so, lib/lxvst/Ostinel User Guide.pdf (hosts scan lib/lxvst; the
#            editor shows "Open User Guide" when the guide lies beside the binary), bin/ostinel,
#            share/ostinel/examples/ (data the tool's commands name, so not under share/doc,
#            which slim Debian images drop), share/doc/ostinel/README.md
#   Windows  everything at the top: Ostinel.dll, "Ostinel User Guide.pdf", ostinel.exe,
#            examples/ (a zip a user unpacks and copies into the host's VST folder)
#
# Packages (cpack in a configured build tree; scripts/package.sh runs all three builds):
#   Linux    Ostinel-<ver>-linux-<arch>.tar.gz and ostinel_<ver>_<debarch>.deb (prefix /usr)
#   Windows  Ostinel-<ver>-win32.zip / -win64.zip with one top folder of the same name

set(OSTINEL_USER_GUIDE_PDF "" CACHE FILEPATH
    "A rendered \"Ostinel User Guide.pdf\" to install instead of building it here (the Windows \
cross builds take the Linux build's)")

set(_ostinel_guide_name "Ostinel User Guide.pdf")
if(WIN32)
    set(_ostinel_plugin_dir .)
    set(_ostinel_bin_dir .)
    set(_ostinel_examples_dir examples)
else()
    set(_ostinel_plugin_dir lib/lxvst)
    set(_ostinel_bin_dir bin)
    set(_ostinel_examples_dir share/ostinel/examples)
endif()

# The DLL's import library is a build by-product nobody links against: never installed.
install(TARGETS Ostinel
    RUNTIME DESTINATION ${_ostinel_plugin_dir}
    LIBRARY DESTINATION ${_ostinel_plugin_dir}
    ARCHIVE DESTINATION lib EXCLUDE_FROM_ALL)

# The tool is not built in every configuration (older Windows trees, fuzz builds).
if(TARGET ostinel)
    install(TARGETS ostinel RUNTIME DESTINATION ${_ostinel_bin_dir})
endif()

# The guide: a given file wins, else the one this tree renders. A tree with neither installs
# without it and says so here; scripts/package.sh refuses to package such a tree.
if(OSTINEL_USER_GUIDE_PDF)
    install(FILES "${OSTINEL_USER_GUIDE_PDF}" DESTINATION ${_ostinel_plugin_dir}
        RENAME "${_ostinel_guide_name}")
elseif(TARGET ostinel_user_guide)
    install(FILES "${CMAKE_BINARY_DIR}/docs/guide/${_ostinel_guide_name}"
        DESTINATION ${_ostinel_plugin_dir})
else()
    message(STATUS "Ostinel: no user guide to install (set OSTINEL_USER_GUIDE_PDF)")
endif()

install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${_ostinel_examples_dir}
    FILES_MATCHING PATTERN "*.mid" PATTERN "*.quorvatp" PATTERN "*.json" PATTERN "*.md"
    PATTERN "*.py")
if(NOT WIN32)
    install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION share/doc/ostinel)
endif()

set(CPACK_PACKAGE_NAME Ostinel)
set(CPACK_PACKAGE_VENDOR Quorvat)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "MIDI note-remapping plug-in (VST 2.4)")
# Lines of at most 79 characters, as the Debian control file wants them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Per MIDI channel, Ostinel maps every input note of a range to up to three"
    "target notes, each with its own output channel, probability, velocity scale"
    "and random amount. The package holds the Linux VST 2.4 plug-in, its user"
    "guide, the ostinel command-line tool (maps MIDI files through the plug-in,"
    "reads and writes presets) and examples.")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
# cpack installs what the caller built; it must not build `all` (with tests) on its own.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

if(WIN32)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(_ostinel_package_system win64)
    else()
        set(_ostinel_package_system win32)
    endif()
    set(CPACK_GENERATOR ZIP)
else()
    string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" _ostinel_package_system)
    set(CPACK_GENERATOR "TGZ;DEB")
endif()
set(CPACK_PACKAGE_FILE_NAME "Ostinel-${PROJECT_VERSION}-${_ostinel_package_system}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

set(OSTINEL_PACKAGE_MAINTAINER "Quorvat <ostinel@quorvat.invalid>" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_NAME ostinel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${OSTINEL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The plug-in links the X11 libraries, the tool libc: dpkg-shlibdeps turns that into Depends.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# "Open User Guide" hands the PDF to xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")

include(CPack)
