# One warning set for every target of ours.
add_library(ostinel_warnings INTERFACE)
target_compile_options(ostinel_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Wunused
    -Woverloaded-virtual -Wnull-dereference -Wdouble-promotion -Wformat=2
    $<$<BOOL:${OSTINEL_WERROR}>:-Werror>)
