#include "state/ValueWriter.h"

#include "common/Error.h"
#include "state/ByteOrder.h"
#include "state/TextCodec.h"
#include "state/ValueTag.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <vector>

namespace ostinel {

namespace {

constexpr size_t kMaxTextLength = std::numeric_limits<int32_t>::max();
constexpr size_t kShortStringLimit = 256;

uint8_t Tag(TValueTag tag) {
    return static_cast<uint8_t>(tag);
}

// Tag plus a 32-bit little-endian count.
std::array<uint8_t, 5> TagAndLength(TValueTag tag, size_t length) {
    if (length > kMaxTextLength) {
        throw Error(kArgumentOutOfRange);
    }
    std::array<uint8_t, 5> head{Tag(tag)};
    codec::StoreLE<uint32_t>(head.data() + 1, static_cast<uint32_t>(length));
    return head;
}

} // namespace

void TValueWriter::WriteSignature() {
    stream_.Write(kValueStreamSignature, sizeof kValueStreamSignature);
}

void TValueWriter::WriteInteger(int64_t value) {
    if (value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        throw Error(kArgumentOutOfRange);
    }
    std::array<uint8_t, detail::kMaxIntegerSize> buffer{};
    const size_t size = detail::EncodeInteger(buffer.data(), static_cast<int32_t>(value));
    stream_.Write(buffer.data(), size);
}

void TValueWriter::WriteFloat(double value) {
    std::array<uint8_t, detail::kFloatSize> buffer{};
    stream_.Write(buffer.data(),
                  detail::EncodeExtended(buffer.data(), codec::DoubleToExtended(value)));
}

void TValueWriter::WriteFloat32(float value) {
    std::array<uint8_t, detail::kFloatSize> buffer{};
    stream_.Write(buffer.data(),
                  detail::EncodeExtended(buffer.data(), codec::FloatToExtended(value)));
}

void TValueWriter::WriteString(std::string_view utf8) {
    const std::string text = codec::SanitizeUtf8(utf8);
    const std::u16string units = codec::Utf8ToUtf16(text);

    if (text.size() >= 2 * units.size()) {
        const auto head = TagAndLength(TValueTag::WideString, units.size());
        std::vector<uint8_t> body(2 * units.size());
        for (size_t i = 0; i < units.size(); ++i) {
            codec::StoreLE<uint16_t>(body.data() + 2 * i, units[i]);
        }
        stream_.Write(head.data(), head.size());
        stream_.Write(body.data(), body.size());
        return;
    }

    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<uint8_t>(c) < 0x80; });
    if (!ascii || text.size() >= kShortStringLimit) {
        const auto head =
            TagAndLength(ascii ? TValueTag::LongString : TValueTag::Utf8String, text.size());
        stream_.Write(head.data(), head.size());
    } else {
        const std::array<uint8_t, 2> head{Tag(TValueTag::String),
                                          static_cast<uint8_t>(text.size())};
        stream_.Write(head.data(), head.size());
    }
    stream_.Write(text.data(), text.size());
}

} // namespace ostinel
