#pragma once
// Growable byte buffer with a read/write position: a program's chunk stream, the payload of a
// chunk and the scratch buffer of the clipboard. Not thread-safe; owned and used on one thread.
//
// The bytes live in a buffer of its own rather than a vector: appending, the usual case while
// a state is written value by value, is an inline copy into spare capacity that never
// zero-fills first.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>

namespace ostinel {

inline constexpr const char* kStreamWriteError = "Stream write error";

class TMemoryStream {
public:
    TMemoryStream() noexcept = default;
    TMemoryStream(const TMemoryStream& other);
    TMemoryStream& operator=(const TMemoryStream& other);
    TMemoryStream(TMemoryStream&& other) noexcept;
    TMemoryStream& operator=(TMemoryStream&& other) noexcept;
    ~TMemoryStream() = default;

    // Empties the stream and moves the position to 0 (the capacity stays).
    void Clear() noexcept {
        size_ = 0;
        position_ = 0;
    }

    [[nodiscard]] size_t Size() const noexcept { return size_; }
    [[nodiscard]] size_t Position() const noexcept { return position_; }
    // Any position is allowed; past the end, Read returns 0 and Write fills the gap with zeros.
    void SetPosition(size_t position) noexcept { position_ = position; }
    // Bytes from the position to the end (0 when the position lies past the end).
    [[nodiscard]] size_t Remaining() const noexcept {
        return position_ < size_ ? size_ - position_ : 0;
    }

    // Writes n bytes at the position, growing the stream as needed, and advances.
    void Write(const void* data, size_t n) {
        if (position_ == size_ && n <= capacity_ - size_ && n != 0) {
            std::memcpy(bytes_.get() + size_, data, n);
            size_ += n;
            position_ = size_;
            return;
        }
        WriteSlow(data, n);
    }
    // Reads up to n bytes from the position and advances by the count returned.
    [[nodiscard]] size_t Read(void* data, size_t n) noexcept;
    // Reads exactly n bytes or fails with "Stream read error" (position unchanged).
    void ReadBuffer(void* data, size_t n);

    [[nodiscard]] const uint8_t* Data() const noexcept { return bytes_.get(); }
    [[nodiscard]] uint8_t* Data() noexcept { return bytes_.get(); }
    // New bytes are zero; a position past the new end moves to the end.
    void Resize(size_t size);
    void Reserve(size_t capacity);
    [[nodiscard]] std::span<const uint8_t> Bytes() const noexcept { return {bytes_.get(), size_}; }

private:
    void WriteSlow(const void* data, size_t n);
    // Capacity for at least `needed` bytes, growing geometrically.
    void Grow(size_t needed);

    std::unique_ptr<uint8_t[]> bytes_;
    size_t size_ = 0;
    size_t capacity_ = 0;
    size_t position_ = 0;
};

} // namespace ostinel
