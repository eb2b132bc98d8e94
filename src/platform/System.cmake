# Non-GUI system services: folders, settings store, module file, file helpers, locale, counter.
add_library(ostinel_platform_system STATIC
    ${CMAKE_CURRENT_LIST_DIR}/SystemFiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SystemShared.cpp)
if(WIN32)
    target_sources(ostinel_platform_system PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win32/SystemWin32.cpp)
    target_compile_definitions(ostinel_platform_system PRIVATE UNICODE _UNICODE)
    target_link_libraries(ostinel_platform_system PUBLIC shell32 advapi32 ole32)
else()
    target_sources(ostinel_platform_system PRIVATE ${CMAKE_CURRENT_LIST_DIR}/posix/SystemPosix.cpp)
    target_link_libraries(ostinel_platform_system PUBLIC ${CMAKE_DL_LIBS})
endif()
target_include_directories(ostinel_platform_system PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(ostinel_platform_system PUBLIC ostinel_common PRIVATE ostinel_warnings)
