#include "state/ValueReader.h"

#include "common/Error.h"
#include "state/ByteOrder.h"
#include "state/Extended80.h"
#include "state/TextCodec.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace ostinel {

namespace {

// A position over the data that only the successful end of a read commits.
class TCursor {
public:
    TCursor(std::span<const uint8_t> data, size_t position) noexcept
        : data_(data), position_(position) {}

    [[nodiscard]] size_t Position() const noexcept { return position_; }

    // n is 64-bit so that a 32-bit count of 2-byte units cannot wrap.
    [[nodiscard]] std::span<const uint8_t> Take(uint64_t n) {
        if (position_ > data_.size() || n > data_.size() - position_) {
            throw Error(kStreamReadError);
        }
        const auto bytes = data_.subspan(position_, static_cast<size_t>(n));
        position_ += static_cast<size_t>(n);
        return bytes;
    }

    template <typename T> [[nodiscard]] T TakeLE() {
        return codec::LoadLE<T>(Take(sizeof(T)).data());
    }

    [[nodiscard]] TValueTag TakeTag() { return static_cast<TValueTag>(TakeLE<uint8_t>()); }

private:
    std::span<const uint8_t> data_;
    size_t position_;
};

// The 10 bytes of an extended value at `offset`, which the caller has checked.
std::span<const uint8_t, codec::kExtendedSize> ExtendedAt(std::span<const uint8_t> data,
                                                          size_t offset) noexcept {
    return std::span<const uint8_t, codec::kExtendedSize>(data.data() + offset,
                                                          codec::kExtendedSize);
}

// Values of the integer tags; false for any other tag.
bool TakeIntegerValue(TCursor& cursor, TValueTag tag, int64_t& value) {
    switch (tag) {
    case TValueTag::Int8:
        value = cursor.TakeLE<int8_t>();
        return true;
    case TValueTag::Int16:
        value = cursor.TakeLE<int16_t>();
        return true;
    case TValueTag::Int32:
        value = cursor.TakeLE<int32_t>();
        return true;
    default:
        return false;
    }
}

} // namespace

void TValueReader::ReadSignature() {
    // Fewer than four bytes cannot be a value stream either: a format error, not a read error.
    if (data_.size() - position_ < sizeof kValueStreamSignature) {
        throw Error(kInvalidStreamFormat);
    }
    const auto bytes = data_.subspan(position_, sizeof kValueStreamSignature);
    if (!std::equal(bytes.begin(), bytes.end(), std::begin(kValueStreamSignature))) {
        throw Error(kInvalidStreamFormat);
    }
    position_ += bytes.size();
}

void TValueReader::FailTag() const {
    static_cast<void>(NextTag()); // "Stream read error" at the end of the data
    throw Error(kInvalidPropertyValue);
}

TValueTag TValueReader::NextTag() const {
    TCursor cursor(data_, position_);
    return cursor.TakeTag();
}

int32_t TValueReader::ReadInteger() {
    TCursor cursor(data_, position_);
    int64_t value = 0;
    if (!TakeIntegerValue(cursor, cursor.TakeTag(), value)) {
        throw Error(kInvalidPropertyValue);
    }
    position_ = cursor.Position();
    return static_cast<int32_t>(value);
}

double TValueReader::ReadFloat() {
    // The usual case first: the 80-bit tag with all its bytes present.
    if (position_ < data_.size() && data_.size() - position_ > codec::kExtendedSize &&
        data_[position_] == static_cast<uint8_t>(TValueTag::Extended)) {
        const double value = codec::ExtendedToDouble(ExtendedAt(data_, position_ + 1));
        position_ += 1 + codec::kExtendedSize;
        return value;
    }
    TCursor cursor(data_, position_);
    const TValueTag tag = cursor.TakeTag();
    double value = 0.0;
    int64_t integer = 0;
    if (tag == TValueTag::Extended) {
        value = codec::ExtendedToDouble(
            cursor.Take(codec::kExtendedSize).first<codec::kExtendedSize>());
    } else if (tag == TValueTag::Double) {
        value = std::bit_cast<double>(cursor.TakeLE<uint64_t>());
    } else if (tag == TValueTag::Int64) {
        value = static_cast<double>(cursor.TakeLE<int64_t>());
    } else if (TakeIntegerValue(cursor, tag, integer)) {
        value = static_cast<double>(integer);
    } else {
        throw Error(kInvalidPropertyValue);
    }
    position_ = cursor.Position();
    return value;
}

float TValueReader::ReadFloat32Narrowed() {
    // Halfway between FLT_MAX and 2^128: from here on, rounding to nearest gives infinity.
    constexpr double kOverflow = 0x1.ffffffp127;
    const double value = ReadFloat();
    if (std::fabs(value) >= kOverflow) {
        constexpr float kInfinity = std::numeric_limits<float>::infinity();
        return std::signbit(value) ? -kInfinity : kInfinity;
    }
    return static_cast<float>(value);
}

bool TValueReader::ReadBoolean() {
    TCursor cursor(data_, position_);
    const TValueTag tag = cursor.TakeTag();
    if (tag != TValueTag::False && tag != TValueTag::True) {
        throw Error(kInvalidPropertyValue);
    }
    position_ = cursor.Position();
    return tag == TValueTag::True;
}

std::string TValueReader::ReadString() {
    TCursor cursor(data_, position_);
    std::string text;
    switch (cursor.TakeTag()) {
    case TValueTag::String: {
        const auto length = cursor.TakeLE<uint8_t>();
        text = codec::Cp1252ToUtf8(cursor.Take(length));
        break;
    }
    case TValueTag::LongString: {
        const auto length = cursor.TakeLE<uint32_t>();
        text = codec::Cp1252ToUtf8(cursor.Take(length));
        break;
    }
    case TValueTag::WideString: {
        const auto units = cursor.TakeLE<uint32_t>();
        text = codec::Utf16LeToUtf8(cursor.Take(uint64_t{units} * 2));
        break;
    }
    case TValueTag::Utf8String: {
        const auto length = cursor.TakeLE<uint32_t>();
        const auto bytes = cursor.Take(length);
        text = codec::SanitizeUtf8(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        break;
    }
    default:
        throw Error(kInvalidPropertyValue);
    }
    position_ = cursor.Position();
    return text;
}

} // namespace ostinel
