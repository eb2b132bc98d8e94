#pragma once
// Pieces shared by the platform implementations of System.h; not part of the contract.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostinel::platform::detail {

// "Software\Quorvat\" + product: the settings key's identity on every platform.
[[nodiscard]] std::string SettingsKeyPath(std::string_view product);

// One component of a key path: not empty, not "." or "..", no "\" or "/", no control
// characters.
[[nodiscard]] bool IsValidKeyComponent(std::string_view name);

// Throws ostinel::Error unless IsValidKeyComponent(product).
void CheckProductName(std::string_view product);

// A sub-key split at "\" into valid components; nullopt when one is invalid. "" = the key
// itself (no components).
[[nodiscard]] std::optional<std::vector<std::string>> SplitSubkey(std::string_view subkey);

// Names and values may hold any text except NUL (the registry stops there).
[[nodiscard]] bool IsValidSettingText(std::string_view text);

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// fopen with a UTF-8 path (_wfopen on Windows). Null on failure with errno set.
[[nodiscard]] FilePtr OpenFileUtf8(const std::string& path, const char* mode);

} // namespace ostinel::platform::detail
