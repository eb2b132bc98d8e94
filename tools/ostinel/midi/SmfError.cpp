#include "midi/SmfError.h"

namespace ostinel::smf {

namespace {

std::string Compose(const std::string& what, std::size_t offset, std::optional<std::size_t> track) {
    std::string place = track ? "track " + std::to_string(*track + 1) + ", " : std::string();
    return "Invalid MIDI file: " + what + " (" + place + "byte offset " + std::to_string(offset) +
           ")";
}

} // namespace

std::string HexByte(unsigned char byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string("0x") + kDigits[byte >> 4] + kDigits[byte & 0x0F];
}

SmfError::SmfError(const std::string& what, std::size_t offset, std::optional<std::size_t> track)
    : Error(Compose(what, offset, track)), offset_(offset), track_(track) {}

} // namespace ostinel::smf
