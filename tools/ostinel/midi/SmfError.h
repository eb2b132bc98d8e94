#pragma once
// Errors found in Standard MIDI File bytes. The message names the place (track and byte
// offset) so that a user can look at the file with a hex viewer.
#include "common/Error.h"

#include <cstddef>
#include <optional>
#include <string>

namespace ostinel::smf {

class SmfError : public Error {
public:
    // track: 0-based index of the MTrk chunk (the message counts from 1), none for the header
    // and for chunks that are not tracks.
    SmfError(const std::string& what, std::size_t offset, std::optional<std::size_t> track);

    [[nodiscard]] std::size_t Offset() const { return offset_; }
    [[nodiscard]] std::optional<std::size_t> TrackIndex() const { return track_; }

private:
    std::size_t offset_;
    std::optional<std::size_t> track_;
};

// "0x9F" style text of a byte, for messages.
[[nodiscard]] std::string HexByte(unsigned char byte);

} // namespace ostinel::smf
