#pragma once
// Writes tagged values at a memory stream's position. Used on the GUI thread only.
#include "state/ByteOrder.h"
#include "state/Extended80.h"
#include "state/MemoryStream.h"
#include "state/ValueTag.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace ostinel {

namespace detail {
// Encoders of the small values, shared by TValueWriter and TValueBatch; each writes at `out`
// and returns the byte count.
inline constexpr size_t kMaxIntegerSize = 5;
inline constexpr size_t kFloatSize = 1 + codec::kExtendedSize;

// Smallest of the 8-, 16- and 32-bit tags.
inline size_t EncodeInteger(uint8_t* out, int32_t value) noexcept {
    if (value >= -128 && value <= 127) {
        out[0] = static_cast<uint8_t>(TValueTag::Int8);
        out[1] = static_cast<uint8_t>(value);
        return 2;
    }
    if (value >= -32768 && value <= 32767) {
        out[0] = static_cast<uint8_t>(TValueTag::Int16);
        codec::StoreLE<int16_t>(out + 1, static_cast<int16_t>(value));
        return 3;
    }
    out[0] = static_cast<uint8_t>(TValueTag::Int32);
    codec::StoreLE<int32_t>(out + 1, value);
    return 5;
}

inline size_t EncodeExtended(uint8_t* out, const codec::TExtendedBytes& extended) noexcept {
    out[0] = static_cast<uint8_t>(TValueTag::Extended);
    std::memcpy(out + 1, extended.data(), extended.size());
    return kFloatSize;
}
} // namespace detail

class TValueWriter {
public:
    explicit TValueWriter(TMemoryStream& stream) noexcept : stream_(stream) {}

    void WriteSignature();
    // Inline, like the other small values: a state is some hundred thousand of them.
    void WriteListBegin() { WriteTag(static_cast<uint8_t>(TValueTag::ListBegin)); }
    void WriteListEnd() { WriteTag(static_cast<uint8_t>(TValueTag::EndOfList)); }
    // Smallest of the 8-, 16- and 32-bit tags. Values outside the 32-bit range fail with
    // "Argument out of range": the 64-bit tag is never written, since integer fields are only
    // ever read back from the three smaller tags.
    void WriteInteger(int64_t value);
    // Always the 80-bit tag; every double widens exactly.
    void WriteFloat(double value);
    // The model's 32-bit floats, widened exactly (same tag as WriteFloat).
    void WriteFloat32(float value);
    void WriteBoolean(bool value) {
        WriteTag(static_cast<uint8_t>(value ? TValueTag::True : TValueTag::False));
    }
    // Malformed UTF-8 is first replaced with U+FFFD. With B UTF-8 bytes and U UTF-16 code
    // units: B >= 2U (the empty text included) is written as UTF-16LE; else any non-ASCII
    // text as UTF-8; else ASCII with the 4-byte length from 256 bytes on, the 1-byte length
    // below. A text of more than 2^31 - 1 units fails with "Argument out of range".
    void WriteString(std::string_view utf8);

private:
    friend class TValueBatch;
    void WriteTag(uint8_t tag) { stream_.Write(&tag, 1); }
    // Bytes a TValueBatch has encoded.
    void WriteEncoded(const uint8_t* bytes, size_t n) { stream_.Write(bytes, n); }

    TMemoryStream& stream_;
};

// A run of small values encoded into a buffer of its own and handed to the writer in pieces,
// not value by value: the map section writes a row at a time. The bytes are exactly those of
// the writer's own calls. Call Flush() at the end of the run; a full buffer flushes itself.
class TValueBatch {
public:
    explicit TValueBatch(TValueWriter& writer) noexcept : writer_(writer) {}
    TValueBatch(const TValueBatch&) = delete;
    TValueBatch& operator=(const TValueBatch&) = delete;

    void ListBegin() { Tag(TValueTag::ListBegin); }
    void ListEnd() { Tag(TValueTag::EndOfList); }
    void Boolean(bool value) { Tag(value ? TValueTag::True : TValueTag::False); }
    void Integer(int32_t value) {
        Room(detail::kMaxIntegerSize);
        size_ += detail::EncodeInteger(bytes_.data() + size_, value);
    }
    void Float32(float value) {
        Room(detail::kFloatSize);
        size_ += detail::EncodeExtended(bytes_.data() + size_, codec::FloatToExtended(value));
    }
    void Flush() {
        writer_.WriteEncoded(bytes_.data(), size_);
        size_ = 0;
    }

private:
    static constexpr size_t kCapacity = 256;
    void Room(size_t n) {
        if (kCapacity - size_ < n)
            Flush();
    }
    void Tag(TValueTag tag) {
        Room(1);
        bytes_[size_++] = static_cast<uint8_t>(tag);
    }

    TValueWriter& writer_;
    std::array<uint8_t, kCapacity> bytes_;
    size_t size_ = 0;
};

} // namespace ostinel
