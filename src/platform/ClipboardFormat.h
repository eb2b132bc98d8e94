#pragma once
// The names private clipboard formats may have, the same on every platform: 1 to 255
// characters (the limit of a Win32 registered format and of an X11 atom name) and no control
// characters.
#include "common/Error.h"

#include <cstddef>
#include <string_view>

namespace ostinel::platform {

inline constexpr std::size_t kMaxClipboardFormatName = 255;

[[nodiscard]] inline bool IsValidClipboardFormatName(std::string_view name) {
    if (name.empty() || name.size() > kMaxClipboardFormatName) {
        return false;
    }
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            return false;
        }
    }
    return true;
}

// Throws ostinel::Error for a name that cannot be a format name.
inline void CheckClipboardFormatName(std::string_view name) {
    if (!IsValidClipboardFormatName(name)) {
        throw Error("Invalid clipboard format name");
    }
}

} // namespace ostinel::platform
