#pragma once
// The clipboard contract on its own, so that layers without windows (the services' channel
// clipboard) can use it without the canvas. Implementations live with the windows (win32/,
// x11/, headless/). GUI thread only.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ostinel::platform {

// The clipboard: plain text and private binary formats registered by name. GUI thread.
class IClipboard {
public:
    virtual ~IClipboard() = default;
    [[nodiscard]] virtual bool HasFormat(const std::string& formatName) const = 0;
    // nullopt when the clipboard offers nothing in the format. On Windows a block can come back
    // longer than it was placed (rounded up, zero-filled): a block must carry its own length.
    [[nodiscard]] virtual std::optional<std::vector<std::uint8_t>>
    GetData(const std::string& formatName) const = 0;
    // Empties the clipboard and places one block under the format. Throws ostinel::Error for
    // a name that cannot be a format name (see ClipboardFormat.h) or when the clipboard cannot
    // be written.
    virtual void SetData(const std::string& formatName, const std::vector<std::uint8_t>& block) = 0;
    [[nodiscard]] virtual std::optional<std::string> GetText() const = 0;
    // Empties the clipboard and places the text. Throws ostinel::Error when it cannot.
    virtual void SetText(const std::string& utf8) = 0;
};

// The process's clipboard for this platform (Linux: a per-user store, see
// x11/ClipboardStore.h; headless: an in-memory one). Defined by the window library the binary
// links.
[[nodiscard]] IClipboard& Clipboard();

} // namespace ostinel::platform
