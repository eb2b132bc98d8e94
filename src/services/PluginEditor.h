#pragma once
// The editor as the base module sees it: the frame's hooks and a place to show messages.
// GUI thread only.
#include "plugin/EditorForm.h"

#include <string>

namespace ostinel {

enum class TMessageKind { Warning, Information, Confirmation };

struct TMessage {
    std::string Text;
    std::string Caption;
    TMessageKind Kind = TMessageKind::Warning;
};

class IPluginEditor : public IEditorForm {
public:
    virtual void EditorIdle() {}
    virtual void PresetNameChanged() {}
    virtual void FocusControlUnderCursor() {}
    // Shows a message with an OK button over the editor (non-blocking).
    virtual void ShowMessage(const TMessage& message) = 0;
};

} // namespace ostinel
