# Windowing: the editor's window inside the host's window, its input and timers, the clipboard
# and shell requests (the contract is Window.h and Input.h); and a top-level window for the
# tool that hosts the editor itself.
#
#   ostinel_platform_gui        the real thing: win32/ on Windows, x11/ elsewhere.
#   ostinel_platform_headless   the same contract without a windowing system, for tests and
#                               off-screen tools (synthetic input, fake clock, in-memory
#                               clipboard, recorded shell requests).
# Both define CreateChildWindow, CreateTopLevelWindow, Clipboard, ShellOpen and
# ShowFolderInExplorer: a binary links exactly one of them. ostinel_platform_headless_window
# (HeadlessWindow, HeadlessTopLevelWindow and HeadlessClipboard alone) defines none of these
# and may sit beside ostinel_platform_gui, e.g. in a tool that renders a window to PNG.

add_library(ostinel_platform_headless_window STATIC
    ${CMAKE_CURRENT_LIST_DIR}/headless/HeadlessClipboard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/headless/HeadlessTopLevel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/headless/HeadlessWindow.cpp)
target_include_directories(ostinel_platform_headless_window PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(ostinel_platform_headless_window
    PUBLIC ostinel_graphics ostinel_common
    PRIVATE ostinel_warnings)

add_library(ostinel_platform_headless STATIC
    ${CMAKE_CURRENT_LIST_DIR}/headless/HeadlessPlatform.cpp)
target_link_libraries(ostinel_platform_headless
    PUBLIC ostinel_platform_headless_window ostinel_platform_system
    PRIVATE ostinel_warnings)

if(WIN32)
    add_library(ostinel_platform_gui STATIC
        ${CMAKE_CURRENT_LIST_DIR}/win32/WindowClipboard.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/TopLevelWin32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/WindowShell.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/WindowWin32.cpp)
    target_compile_definitions(ostinel_platform_gui PRIVATE UNICODE _UNICODE)
    target_link_libraries(ostinel_platform_gui PUBLIC user32 gdi32 shell32)
else()
    find_package(X11 REQUIRED)
    add_library(ostinel_platform_gui STATIC
        ${CMAKE_CURRENT_LIST_DIR}/x11/ClipboardStore.cpp
        ${CMAKE_CURRENT_LIST_DIR}/x11/ErrorTrap.cpp
        ${CMAKE_CURRENT_LIST_DIR}/x11/KeyMap.cpp
        ${CMAKE_CURRENT_LIST_DIR}/x11/ShellPosix.cpp
        ${CMAKE_CURRENT_LIST_DIR}/x11/TopLevelX11.cpp
        ${CMAKE_CURRENT_LIST_DIR}/x11/WindowX11.cpp)
    target_link_libraries(ostinel_platform_gui PUBLIC X11::X11)
endif()
target_include_directories(ostinel_platform_gui PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(ostinel_platform_gui
    PUBLIC ostinel_graphics ostinel_platform_system
    PRIVATE ostinel_warnings)
