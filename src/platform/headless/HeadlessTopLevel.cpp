#include "platform/headless/HeadlessTopLevel.h"

#include "common/Error.h"

namespace ostinel::platform {

namespace {

void CheckSize(int width, int height) {
    if (width < 1 || height < 1 || width > 16384 || height > 16384) {
        throw Error("Invalid window size " + std::to_string(width) + " x " +
                    std::to_string(height));
    }
}

} // namespace

HeadlessTopLevelWindow::HeadlessTopLevelWindow(std::string title, int width, int height,
                                               ITopLevelClient& client)
    : client_(client), title_(std::move(title)), width_(width), height_(height) {
    CheckSize(width, height);
}

// A distinct non-null token: child windows are created with it as their parent.
void* HeadlessTopLevelWindow::NativeHandle() const {
    return const_cast<HeadlessTopLevelWindow*>(this);
}

void HeadlessTopLevelWindow::SetClientSize(int width, int height) {
    if (width < 1 || height < 1) {
        return;
    }
    CheckSize(width, height);
    width_ = width;
    height_ = height;
}

void HeadlessTopLevelWindow::PlaceChild(void* child, const Rect& bounds) {
    if (child != nullptr && !bounds.IsEmpty()) {
        children_[child] = bounds;
    }
}

void HeadlessTopLevelWindow::AddShortcut(int id, std::uint32_t key, Modifiers mods) {
    shortcuts_.push_back({id, key, mods});
}

bool HeadlessTopLevelWindow::PressKey(std::uint32_t key, Modifiers mods) {
    for (const Shortcut& s : shortcuts_) {
        if (s.key == key && s.mods == mods) {
            client_.OnShortcut(s.id);
            return true;
        }
    }
    return false;
}

Rect HeadlessTopLevelWindow::ChildBounds(void* child) const {
    const auto it = children_.find(child);
    return it == children_.end() ? Rect{} : it->second;
}

} // namespace ostinel::platform
