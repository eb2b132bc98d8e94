#include "state/MemoryStream.h"

#include "common/Error.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace ostinel {

void TMemoryStream::Clear() noexcept {
    bytes_.clear();
    position_ = 0;
}

size_t TMemoryStream::Remaining() const noexcept {
    return position_ < bytes_.size() ? bytes_.size() - position_ : 0;
}

void TMemoryStream::Write(const void* data, size_t n) {
    if (n == 0) {
        return;
    }
    if (position_ > std::numeric_limits<size_t>::max() - n) {
        throw Error(kStreamWriteError);
    }
    const size_t end = position_ + n;
    if (position_ == bytes_.size()) { // appending: the usual case while a state is written
        const auto* p = static_cast<const uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + n);
        position_ = end;
        return;
    }
    if (end > bytes_.size()) {
        bytes_.resize(end);
    }
    std::memcpy(bytes_.data() + position_, data, n);
    position_ = end;
}

size_t TMemoryStream::Read(void* data, size_t n) noexcept {
    const size_t count = std::min(n, Remaining());
    if (count != 0) {
        std::memcpy(data, bytes_.data() + position_, count);
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
    bytes_.resize(size);
    if (position_ > size) {
        position_ = size;
    }
}

} // namespace ostinel
