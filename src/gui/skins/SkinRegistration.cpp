#include "gui/skins/SkinRegistration.h"

#include "gui/skins/Skin.h"
#include "services/StyleActivator.h"

namespace ostinel::gui {

void RegisterSkinActivator() noexcept {
    SetStyleActivator(&ActivateSkin);
}

} // namespace ostinel::gui
