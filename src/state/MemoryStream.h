#pragma once
// Growable byte buffer with a read/write position: a program's chunk stream, the payload of a
// chunk and the scratch buffer of the clipboard. Not thread-safe; owned and used on one thread.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ostinel {

inline constexpr const char* kStreamWriteError = "Stream write error";

class TMemoryStream {
public:
    // Empties the stream and moves the position to 0.
    void Clear() noexcept;

    [[nodiscard]] size_t Size() const noexcept { return bytes_.size(); }
    [[nodiscard]] size_t Position() const noexcept { return position_; }
    // Any position is allowed; past the end, Read returns 0 and Write fills the gap with zeros.
    void SetPosition(size_t position) noexcept { position_ = position; }
    // Bytes from the position to the end (0 when the position lies past the end).
    [[nodiscard]] size_t Remaining() const noexcept;

    // Writes n bytes at the position, growing the stream as needed, and advances.
    void Write(const void* data, size_t n);
    // Reads up to n bytes from the position and advances by the count returned.
    [[nodiscard]] size_t Read(void* data, size_t n) noexcept;
    // Reads exactly n bytes or fails with "Stream read error" (position unchanged).
    void ReadBuffer(void* data, size_t n);

    [[nodiscard]] const uint8_t* Data() const noexcept { return bytes_.data(); }
    [[nodiscard]] uint8_t* Data() noexcept { return bytes_.data(); }
    // New bytes are zero; a position past the new end moves to the end.
    void Resize(size_t size);
    void Reserve(size_t capacity) { bytes_.reserve(capacity); }
    [[nodiscard]] std::span<const uint8_t> Bytes() const noexcept { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};

} // namespace ostinel
