#include "gui/widgets/Timer.h"

#include "gui/widgets/WidgetRoot.h"

#include <algorithm>

namespace ostinel::gui {

TTimer::TTimer(WidgetRoot& root, int intervalMs)
    : root_(&root), id_(root.RegisterTimer(*this)), interval_(std::max(1, intervalMs)) {}

TTimer::~TTimer() {
    if (root_ != nullptr) {
        root_->UnregisterTimer(*this);
    }
}

void TTimer::SetInterval(int intervalMs) {
    intervalMs = std::max(1, intervalMs);
    if (intervalMs == interval_) {
        return;
    }
    interval_ = intervalMs;
    if (enabled_) {
        Arm();
    }
}

void TTimer::SetEnabled(bool enabled) {
    if (!enabled) {
        if (enabled_ && root_ != nullptr) {
            root_->StopPlatformTimer(*this);
        }
        enabled_ = false;
        return;
    }
    enabled_ = true;
    Arm();
}

void TTimer::Arm() {
    if (root_ != nullptr) {
        root_->StartPlatformTimer(*this);
    }
}

void TTimer::Fire() {
    if (enabled_ && OnTimer) {
        OnTimer();
    }
}

} // namespace ostinel::gui
