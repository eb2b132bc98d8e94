#include "common/Error.h"
#include "platform/SystemDetail.h"

namespace ostinel::platform::detail {

std::string SettingsKeyPath(std::string_view product) {
    return "Software\\Quorvat\\" + std::string(product);
}

bool IsValidKeyComponent(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '\\' || c == '/')
            return false;
    }
    return true;
}

void CheckProductName(std::string_view product) {
    if (!IsValidKeyComponent(product))
        throw Error("Invalid settings key name \"" + std::string(product) + "\"");
}

std::optional<std::vector<std::string>> SplitSubkey(std::string_view subkey) {
    std::vector<std::string> parts;
    if (subkey.empty())
        return parts;
    while (true) {
        const std::size_t separator = subkey.find('\\');
        const std::string_view part = subkey.substr(0, separator);
        if (!IsValidKeyComponent(part))
            return std::nullopt;
        parts.emplace_back(part);
        if (separator == std::string_view::npos)
            return parts;
        subkey.remove_prefix(separator + 1);
    }
}

bool IsValidSettingText(std::string_view text) {
    return text.find('\0') == std::string_view::npos;
}

} // namespace ostinel::platform::detail
