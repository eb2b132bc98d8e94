#include "state/MemoryStream.h"

#include "common/Error.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace ostinel {

TMemoryStream::TMemoryStream(const TMemoryStream& other) : position_(other.position_) {
    Reserve(other.size_);
    if (other.size_ != 0)
        std::memcpy(bytes_.get(), other.bytes_.get(), other.size_);
    size_ = other.size_;
}

TMemoryStream& TMemoryStream::operator=(const TMemoryStream& other) {
    if (this != &other) {
        TMemoryStream copy(other);
        *this = std::move(copy);
    }
    return *this;
}

TMemoryStream::TMemoryStream(TMemoryStream&& other) noexcept
    : bytes_(std::move(other.bytes_)), size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)), position_(std::exchange(other.position_, 0)) {}

TMemoryStream& TMemoryStream::operator=(TMemoryStream&& other) noexcept {
    if (this != &other) {
        bytes_ = std::move(other.bytes_);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        position_ = std::exchange(other.position_, 0);
    }
    return *this;
}

void TMemoryStream::Grow(size_t needed) {
    if (needed <= capacity_)
        return;
    const size_t doubled = capacity_ > std::numeric_limits<size_t>::max() / 2
                               ? std::numeric_limits<size_t>::max()
                               : 2 * capacity_;
    Reserve(std::max(needed, doubled));
}

void TMemoryStream::Reserve(size_t capacity) {
    if (capacity <= capacity_)
        return;
    auto bytes = std::make_unique_for_overwrite<uint8_t[]>(capacity); // not zero-filled
    if (size_ != 0)
        std::memcpy(bytes.get(), bytes_.get(), size_);
    bytes_ = std::move(bytes);
    capacity_ = capacity;
}

void TMemoryStream::WriteSlow(const void* data, size_t n) {
    if (n == 0) {
        return;
    }
    if (position_ > std::numeric_limits<size_t>::max() - n) {
        throw Error(kStreamWriteError);
    }
    const size_t end = position_ + n;
    if (end > size_) {
        Grow(end);
        if (position_ > size_) // writing past the end: the gap reads as zeros
            std::memset(bytes_.get() + size_, 0, position_ - size_);
        size_ = end;
    }
    std::memcpy(bytes_.get() + position_, data, n);
    position_ = end;
}

size_t TMemoryStream::Read(void* data, size_t n) noexcept {
    const size_t count = std::min(n, Remaining());
    if (count != 0) {
        std::memcpy(data, bytes_.get() + position_, count);
        position_ += count;
    }
    return count;
}

void TMemoryStream::ReadBuffer(void* data, size_t n) {
    if (n > Remaining()) {
        throw Error(kStreamReadError);
    }
    static_cast<void>(Read(data, n));
}

void TMemoryStream::Resize(size_t size) {
    if (size > size_) {
        Grow(size);
        std::memset(bytes_.get() + size_, 0, size - size_);
    }
    size_ = size;
    if (position_ > size) {
        position_ = size;
    }
}

} // namespace ostinel
