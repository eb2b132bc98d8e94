#pragma once
// The plug-in as `ostinel edit` drives it: its editor opened into our window, idle calls, and
// its state. An interface, so that the window logic can be tested without a plug-in binary.
// GUI thread only (the tool has no other thread: nothing is played).
#include <cstdint>
#include <optional>
#include <vector>

namespace ostinel::edit {

struct EditorSize {
    int width = 0;
    int height = 0;
};

class IEditedPlugin {
public:
    virtual ~IEditedPlugin() = default;
    // effEditGetRect; nullopt when the plug-in names no size.
    [[nodiscard]] virtual std::optional<EditorSize> EditorRect() = 0;
    // effEditOpen with the parent's native handle; throws ostinel::Error when refused.
    virtual void OpenEditor(void* parent) = 0;
    virtual void IdleEditor() = 0;
    virtual void CloseEditor() = 0;
    // The state as effGetChunk gives it (a preset chunk).
    [[nodiscard]] virtual std::vector<std::uint8_t> State() = 0;
};

} // namespace ostinel::edit
