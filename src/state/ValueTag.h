#pragma once
// Tag bytes of the value stream. The writer emits only EndOfList..True, LongString,
// WideString and Utf8String; Int64 and Double are accepted when reading floats.
#include <cstdint>

namespace ostinel {

enum class TValueTag : uint8_t {
    EndOfList = 0x00,
    ListBegin = 0x01,
    Int8 = 0x02,
    Int16 = 0x03,
    Int32 = 0x04,
    Extended = 0x05, // 80-bit IEEE extended
    String = 0x06,   // 1-byte length, single-byte text
    False = 0x08,
    True = 0x09,
    LongString = 0x0C, // 4-byte length, single-byte text
    WideString = 0x12, // 4-byte count of UTF-16 code units, UTF-16LE
    Int64 = 0x13,
    Utf8String = 0x14, // 4-byte length, UTF-8
    Double = 0x15,
};

// "TPF0", the first four bytes of every value stream.
inline constexpr uint8_t kValueStreamSignature[4] = {'T', 'P', 'F', '0'};

} // namespace ostinel
