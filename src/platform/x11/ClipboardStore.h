#pragma once
// The Linux clipboard of the plug-in: one entry (text, or one block under a private format
// name) kept in a per-user file, so that every instance in every host process of the user's
// session sees what another one copied, also after the copying editor has closed. The X11
// CLIPBOARD selection would need an event loop that keeps serving requests while no editor is
// open, which a plug-in does not have.
//
// The file is "clipboard" in $XDG_RUNTIME_DIR/Quorvat/Ostinel (the session's private folder),
// else $XDG_CACHE_HOME (else $HOME/.cache)/Quorvat/Ostinel. Writes replace it atomically, so
// readers see the old entry or the new one. GUI thread.
#include "platform/Window.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ostinel::platform::x11 {

struct ClipboardEntry {
    bool isText = false;
    std::string formatName; // empty for text
    std::vector<std::uint8_t> bytes;
};

// Entries larger than this are neither written nor read.
inline constexpr std::size_t kMaxClipboardBytes = 64u << 20;

// The store's file; empty when neither variable nor HOME gives a folder.
[[nodiscard]] std::string ClipboardFilePath();

// The file's content in its on-disk form and back. Decode returns nullopt for anything that
// is not a well-formed entry.
[[nodiscard]] std::vector<std::uint8_t> EncodeClipboardEntry(const ClipboardEntry& entry);
[[nodiscard]] std::optional<ClipboardEntry>
DecodeClipboardEntry(const std::vector<std::uint8_t>& file);

class FileClipboard final : public IClipboard {
public:
    [[nodiscard]] bool HasFormat(const std::string& formatName) const override;
    // nullopt also when the store is missing, unreadable or damaged.
    [[nodiscard]] std::optional<std::vector<std::uint8_t>>
    GetData(const std::string& formatName) const override;
    // Throws ostinel::Error for an invalid format name or when the store cannot be written.
    void SetData(const std::string& formatName, const std::vector<std::uint8_t>& block) override;
    [[nodiscard]] std::optional<std::string> GetText() const override;
    // Throws ostinel::Error when the store cannot be written.
    void SetText(const std::string& utf8) override;

private:
    [[nodiscard]] static std::optional<ClipboardEntry> Read();
    static void Write(const ClipboardEntry& entry);
};

} // namespace ostinel::platform::x11
