#include "services/StyleActivator.h"

namespace ostinel {

namespace {
TStyleActivator gActivator = nullptr;
} // namespace

void SetStyleActivator(TStyleActivator activator) noexcept {
    gActivator = activator;
}

void ActivateStyle(int style) {
    if (gActivator != nullptr)
        gActivator(style);
}

} // namespace ostinel
