#pragma once
// The skin engine lives in the GUI layer; it registers here how a skin index is activated.
// GUI thread only.
namespace ostinel {

using TStyleActivator = void (*)(int style);

void SetStyleActivator(TStyleActivator activator) noexcept;
// Activates the skin of `style` (values outside 1..4 select Carbon); nothing without a GUI.
void ActivateStyle(int style);

} // namespace ostinel
