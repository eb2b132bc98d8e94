# One warning set for every target of ours.
add_library(ostinel_warnings INTERFACE)
target_compile_options(ostinel_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Wunused
    -Woverloaded-virtual -Wdouble-promotion -Wformat=2
    $<$<BOOL:${OSTINEL_WERROR}>:-Werror>)
# GCC 12 reports impossible overlaps inside std::string at -O2/-O3 (a known false positive).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(ostinel_warnings INTERFACE -Wno-restrict)
endif()
