#pragma once
// TBinClipboard: moves a byte stream between memory and the system clipboard under a private
// format registered by name ("OstinelChannel" for the editor's channel copy and paste). The
// block on the clipboard is a 32-bit little-endian length N followed by the N stream bytes;
// a block the platform reports as larger is accepted. GUI thread only.
#include "common/Error.h"

#include <string>

namespace ostinel {

namespace platform {
class IClipboard;
} // namespace platform

class TMemoryStream;

inline constexpr const char* kChannelClipboardFormat = "OstinelChannel";

class EBinClipboardError : public Error {
public:
    using Error::Error;
};

class TBinClipboard {
public:
    TBinClipboard(platform::IClipboard& clipboard, std::string formatName);

    [[nodiscard]] const std::string& FormatName() const { return formatName_; }
    // True when the clipboard offers data in the format.
    [[nodiscard]] bool HasData() const;
    // Empties the clipboard and places the whole stream (from its start) as one block.
    void WriteStream(const TMemoryStream& stream);
    // False when the clipboard offers nothing in the format; otherwise the stream holds the
    // block's N bytes at position 0. Throws EBinClipboardError "Invalid data in Clipboard!"
    // for a block too short for its length word (or a negative one).
    bool ReadStream(TMemoryStream& stream);

private:
    platform::IClipboard& clipboard_;
    std::string formatName_;
};

} // namespace ostinel
