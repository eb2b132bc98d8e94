#pragma once
// Connects the skin engine to the plug-in's ApplyStyle. Kept apart from the colour sets so that
// the GUI libraries do not depend on the plug-in services.
namespace ostinel::gui {

// Registers ActivateSkin as the services' style activator. Call once before the first editor
// opens (GUI thread).
void RegisterSkinActivator() noexcept;

} // namespace ostinel::gui
