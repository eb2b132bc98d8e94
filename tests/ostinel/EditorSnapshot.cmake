# ostinel_editor_snapshot: renders the plug-in's editor to a PNG, headless (the user guide's and
# the README's pictures, and the pictures the tests leave in the build tree). Included by
# tests/ostinel and by docs/guide, whichever comes first, so the guide builds without the tests.
if(NOT TARGET ostinel_editor_snapshot)
    set(snapshot_dir ${CMAKE_SOURCE_DIR}/tests/ostinel)
    add_executable(ostinel_editor_snapshot
        ${snapshot_dir}/EditorSnapshotMain.cpp
        ${snapshot_dir}/EditorSnapshot.cpp
        ${CMAKE_SOURCE_DIR}/tests/support/FakeHost.cpp
        ${CMAKE_SOURCE_DIR}/tests/support/PluginLinked.cpp)
    target_include_directories(ostinel_editor_snapshot PRIVATE
        ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(ostinel_editor_snapshot PRIVATE
        ostinel_core ostinel_vsthost ostinel_warnings)
    set_target_properties(ostinel_editor_snapshot PROPERTIES OSTINEL_PLATFORM headless)
endif()
