#pragma once
// Writes tagged values at a memory stream's position. Used on the GUI thread only.
#include "state/MemoryStream.h"

#include <cstdint>
#include <string_view>

namespace ostinel {

class TValueWriter {
public:
    explicit TValueWriter(TMemoryStream& stream) noexcept : stream_(stream) {}

    void WriteSignature();
    void WriteListBegin();
    void WriteListEnd();
    // Smallest of the 8-, 16- and 32-bit tags. Values outside the 32-bit range fail with
    // "Argument out of range": the 64-bit tag is never written, since integer fields are only
    // ever read back from the three smaller tags.
    void WriteInteger(int64_t value);
    // Always the 80-bit tag; every double widens exactly.
    void WriteFloat(double value);
    // The model's 32-bit floats, widened exactly (same tag as WriteFloat).
    void WriteFloat32(float value) { WriteFloat(static_cast<double>(value)); }
    void WriteBoolean(bool value);
    // Malformed UTF-8 is first replaced with U+FFFD. With B UTF-8 bytes and U UTF-16 code
    // units: B >= 2U (the empty text included) is written as UTF-16LE; else any non-ASCII
    // text as UTF-8; else ASCII with the 4-byte length from 256 bytes on, the 1-byte length
    // below. A text of more than 2^31 - 1 units fails with "Argument out of range".
    void WriteString(std::string_view utf8);

private:
    void WriteTag(uint8_t tag);

    TMemoryStream& stream_;
};

} // namespace ostinel
