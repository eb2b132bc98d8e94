#include "platform/headless/HeadlessWindow.h"

#include "common/Error.h"
#include "graphics/Png.h"
#include "graphics/Utf8.h"

#include <algorithm>
#include <string>

namespace ostinel::platform {

namespace {

void CheckSide(int side) {
    if (side < 1 || side > gui::Image::kMaxSide) {
        throw Error("Invalid window size " + std::to_string(side));
    }
}

std::size_t ButtonIndex(MouseButton button) {
    return static_cast<std::size_t>(button);
}

} // namespace

HeadlessWindow::HeadlessWindow(int width, int height, IWindowClient& client)
    : client_(client), width_(width), height_(height) {
    CheckSide(width);
    CheckSide(height);
    screen_ = gui::Image(width, height, gui::Color::Rgb(0x000000));
    // A new window is exposed as a whole, as on every windowing system.
    dirty_ = screen_.Bounds();
}

void* HeadlessWindow::NativeHandle() const {
    return const_cast<HeadlessWindow*>(this);
}

void HeadlessWindow::Invalidate(const Rect& area) {
    dirty_ = dirty_.Union(area.Intersect(screen_.Bounds()));
}

void HeadlessWindow::PumpEvents() {
    PaintPending();
}

void HeadlessWindow::SetTimer(int id, int intervalMs) {
    timers_.Set(id, intervalMs, nowMs_);
}

void HeadlessWindow::KillTimer(int id) {
    timers_.Kill(id);
}

bool HeadlessWindow::IsButtonDown(MouseButton button) const {
    return buttons_[ButtonIndex(button)];
}

void HeadlessWindow::Focus() {
    if (!focused_) {
        focused_ = true;
        client_.OnFocusChanged(true);
    }
}

void HeadlessWindow::LoseFocus() {
    if (focused_) {
        focused_ = false;
        client_.OnFocusChanged(false);
    }
}

bool HeadlessWindow::Inside(Point pos) const {
    return screen_.Bounds().Contains(pos);
}

bool HeadlessWindow::TrackPointer(Point pos) {
    pointer_ = pos;
    if (Inside(pos)) {
        pointerInside_ = true;
        return true;
    }
    if (captured_) {
        return true;
    }
    if (pointerInside_) {
        pointerInside_ = false;
        client_.OnMouseLeave();
    }
    return false;
}

bool HeadlessWindow::MouseDown(Point pos, MouseButton button, Modifiers mods) {
    buttons_[ButtonIndex(button)] = true;
    if (!TrackPointer(pos)) {
        return false;
    }
    client_.OnMouseDown({pos, button, mods, false});
    return true;
}

bool HeadlessWindow::MouseUp(Point pos, MouseButton button, Modifiers mods) {
    buttons_[ButtonIndex(button)] = false;
    if (!TrackPointer(pos)) {
        return false;
    }
    client_.OnMouseUp({pos, button, mods, false});
    return true;
}

bool HeadlessWindow::MouseMove(Point pos, Modifiers mods) {
    if (!TrackPointer(pos)) {
        return false;
    }
    client_.OnMouseMove(pos, mods);
    return true;
}

bool HeadlessWindow::MouseWheel(Point pos, int delta, Modifiers mods) {
    if (!TrackPointer(pos)) {
        return false;
    }
    client_.OnMouseWheel({pos, delta, mods});
    return true;
}

bool HeadlessWindow::Click(Point pos, MouseButton button, Modifiers mods) {
    MouseMove(pos, mods);
    const bool down = MouseDown(pos, button, mods);
    const bool up = MouseUp(pos, button, mods);
    return down && up;
}

bool HeadlessWindow::DoubleClick(Point pos, MouseButton button, Modifiers mods) {
    const bool first = Click(pos, button, mods);
    buttons_[ButtonIndex(button)] = true;
    const bool down = TrackPointer(pos);
    if (down) {
        client_.OnMouseDown({pos, button, mods, true});
    }
    const bool up = MouseUp(pos, button, mods);
    return first && down && up;
}

void HeadlessWindow::MouseLeaveWindow() {
    pointer_.reset();
    if (pointerInside_) {
        pointerInside_ = false;
        client_.OnMouseLeave();
    }
}

bool HeadlessWindow::KeyDown(std::uint32_t key, Modifiers mods, bool repeat) {
    if (!focused_) {
        return false;
    }
    client_.OnKeyDown({key, mods, repeat});
    return true;
}

bool HeadlessWindow::KeyUp(std::uint32_t key, Modifiers mods) {
    if (!focused_) {
        return false;
    }
    client_.OnKeyUp({key, mods, false});
    return true;
}

bool HeadlessWindow::PressKey(std::uint32_t key, Modifiers mods) {
    const bool down = KeyDown(key, mods);
    const bool up = KeyUp(key, mods);
    return down && up;
}

bool HeadlessWindow::Char(char32_t ch) {
    if (!focused_) {
        return false;
    }
    client_.OnChar(ch);
    return true;
}

bool HeadlessWindow::TypeText(std::string_view utf8) {
    bool all = true;
    for (std::size_t pos = 0; pos < utf8.size();) {
        all = Char(gui::DecodeUtf8At(utf8, pos)) && all;
    }
    return all;
}

void HeadlessWindow::AdvanceTime(std::int64_t ms) {
    if (ms < 0) {
        throw Error("The clock cannot go back");
    }
    const std::int64_t target = nowMs_ + ms;
    while (const auto due = timers_.NextDue(target)) {
        nowMs_ = due->dueMs;
        timers_.Rearm(due->id, due->dueMs + due->intervalMs);
        client_.OnTimer(due->id);
    }
    nowMs_ = target;
    PaintPending();
}

void HeadlessWindow::PaintPending() {
    if (dirty_.IsEmpty()) {
        return;
    }
    const Rect area = dirty_;
    dirty_ = {};
    client_.OnPaint(area);
    ++paintCount_;
    lastPaint_ = area;

    // The blit: only the painted area is copied, and only where the surface has pixels.
    const gui::Image& surface = client_.Surface();
    const Rect copy = area.Intersect(surface.Bounds());
    for (int y = copy.top; y < copy.bottom; ++y) {
        const gui::Pixel* from = surface.Row(y);
        gui::Pixel* to = screen_.Row(y);
        for (int x = copy.left; x < copy.right; ++x) {
            to[x] = from[x] | 0xFF000000u;
        }
    }
}

void HeadlessWindow::SavePng(const std::filesystem::path& path) const {
    gui::SavePng(screen_, path);
}

std::unique_ptr<HeadlessWindow> CreateHeadlessWindow(int width, int height, IWindowClient& client) {
    return std::make_unique<HeadlessWindow>(width, height, client);
}

} // namespace ostinel::platform
