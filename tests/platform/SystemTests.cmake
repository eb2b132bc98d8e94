# File helpers run everywhere. Folder and settings resolution: on POSIX with HOME and the XDG
# variables pointed at a temp folder; on Windows (wine) against a throwaway registry key.
set(system_test_sources ${CMAKE_CURRENT_LIST_DIR}/SystemFilesTest.cpp)
if(WIN32)
    list(APPEND system_test_sources ${CMAKE_CURRENT_LIST_DIR}/SystemWin32Test.cpp)
else()
    list(APPEND system_test_sources ${CMAKE_CURRENT_LIST_DIR}/SystemPosixTest.cpp)
endif()
ostinel_add_test(ostinel_platform_system_tests
    SOURCES ${system_test_sources}
    LIBS ostinel_platform_system
    LABELS tsan) # two threads writing the settings store
if(WIN32)
    target_compile_definitions(ostinel_platform_system_tests PRIVATE UNICODE _UNICODE)
endif()
