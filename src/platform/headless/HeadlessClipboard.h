#pragma once
// An in-memory clipboard with the semantics of the system ones: it holds one entry at a time,
// either text or one block under a private format name, and every Set replaces what was
// there. GUI thread only.
#include "platform/Window.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ostinel::platform {

class HeadlessClipboard final : public IClipboard {
public:
    [[nodiscard]] bool HasFormat(const std::string& formatName) const override;
    [[nodiscard]] std::optional<std::vector<std::uint8_t>>
    GetData(const std::string& formatName) const override;
    // Throws ostinel::Error for an invalid format name (see ClipboardFormat.h).
    void SetData(const std::string& formatName, const std::vector<std::uint8_t>& block) override;
    [[nodiscard]] std::optional<std::string> GetText() const override;
    void SetText(const std::string& utf8) override;

    void Clear();

private:
    std::optional<std::string> text_;
    std::optional<std::string> format_;
    std::vector<std::uint8_t> block_;
};

} // namespace ostinel::platform
