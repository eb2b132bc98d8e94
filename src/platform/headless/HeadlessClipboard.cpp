#include "platform/headless/HeadlessClipboard.h"

#include "platform/ClipboardFormat.h"

namespace ostinel::platform {

bool HeadlessClipboard::HasFormat(const std::string& formatName) const {
    return format_ && *format_ == formatName;
}

std::optional<std::vector<std::uint8_t>>
HeadlessClipboard::GetData(const std::string& formatName) const {
    if (!HasFormat(formatName)) {
        return std::nullopt;
    }
    return block_;
}

void HeadlessClipboard::SetData(const std::string& formatName,
                                const std::vector<std::uint8_t>& block) {
    CheckClipboardFormatName(formatName);
    Clear();
    format_ = formatName;
    block_ = block;
}

std::optional<std::string> HeadlessClipboard::GetText() const {
    return text_;
}

void HeadlessClipboard::SetText(const std::string& utf8) {
    Clear();
    text_ = utf8;
}

void HeadlessClipboard::Clear() {
    text_.reset();
    format_.reset();
    block_.clear();
}

} // namespace ostinel::platform
