#pragma once
// What the module needs of an editor window. The GUI layer implements it; the module creates
// one through its editor form factory on effEditOpen and releases it on effEditClose.
// GUI thread only.
#include <memory>

namespace ostinel {

class TCustomVSTModule;

class IEditorForm {
public:
    virtual ~IEditorForm() = default;
    // Makes the native parent handle the window's parent, shows it borderless at (0, 0) with
    // its own size and requests a repaint. Throws on failure.
    virtual void PlaceInParent(void* parentHandle) = 0;
    [[nodiscard]] virtual int Width() const = 0;
    [[nodiscard]] virtual int Height() const = 0;
    [[nodiscard]] virtual int ClientWidth() const = 0;
    [[nodiscard]] virtual int ClientHeight() const = 0;
    // Every host idle call, whether or not an idle request is pending: platforms without a
    // message loop of their own (X11) dispatch their window events and timers here.
    virtual void HostIdle() {}
};

using TEditorFormFactory = std::unique_ptr<IEditorForm> (*)(TCustomVSTModule& owner);

} // namespace ostinel
