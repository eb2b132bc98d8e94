# Turns one binary file into a C++ source holding it as a byte array.
# Run in script mode at build time:
#   cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DSYMBOL=<name> -DNAMESPACE=<ns> -P EmbedBinary.cmake
# The source defines `const unsigned char <SYMBOL>[]` and `const std::size_t <SYMBOL>Size`
# inside the given namespace.
foreach(var INPUT OUTPUT SYMBOL NAMESPACE)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "EmbedBinary.cmake: ${var} is not set")
    endif()
endforeach()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR byteCount "${hexLength} / 2")

# 32 bytes per line keeps the source readable by compilers and editors.
string(REPEAT "[0-9a-f]" 64 linePattern)
string(REGEX REPLACE "(${linePattern})" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")

file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT} at build time. Do not edit.\n"
"#include <cstddef>\n\n"
"namespace ${NAMESPACE} {\n\n"
"extern const unsigned char ${SYMBOL}[];\n"
"extern const std::size_t ${SYMBOL}Size;\n\n"
"const unsigned char ${SYMBOL}[] = {\n${hex}};\n"
"const std::size_t ${SYMBOL}Size = ${byteCount};\n\n"
"} // namespace ${NAMESPACE}\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
