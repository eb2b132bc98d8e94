#pragma once
// A window without a windowing system, for tests and off-screen rendering. It keeps the pixels
// it was last asked to show (Screen()), takes synthetic input, and runs its timers on a fake
// clock that only moves when AdvanceTime() is called.
//
// It behaves like the Win32 window where that matters to the toolkit: pointer events outside
// the client area reach it only while it holds the capture (there is no implicit grab), a
// pointer that moves out of the window without capture gets one OnMouseLeave, key and
// character events arrive only while it has the focus (a new window has none), and repaints
// wait for PumpEvents() or AdvanceTime(). Nothing is queued: each synthetic event is delivered (or
// dropped) at once and the call returns whether the client received it.
#include "graphics/Image.h"
#include "platform/TimerList.h"
#include "platform/Window.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

namespace ostinel::platform {

class HeadlessWindow final : public IPlatformWindow {
public:
    // Throws ostinel::Error when a side is below 1 or above gui::Image::kMaxSide.
    HeadlessWindow(int width, int height, IWindowClient& client);

    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    // ---- IPlatformWindow ----------------------------------------------------------------
    [[nodiscard]] int ClientWidth() const override { return width_; }
    [[nodiscard]] int ClientHeight() const override { return height_; }
    [[nodiscard]] void* NativeHandle() const override;
    void Invalidate(const Rect& area) override;
    // Paints what was invalidated. Time stands still: timers run in AdvanceTime() only.
    void PumpEvents() override;
    void SetTimer(int id, int intervalMs) override;
    void KillTimer(int id) override;
    void SetCursor(Cursor cursor) override { cursor_ = cursor; }
    void CaptureMouse() override { captured_ = true; }
    void ReleaseMouse() override { captured_ = false; }
    // nullopt until the first synthetic pointer event.
    [[nodiscard]] std::optional<Point> CursorPos() const override { return pointer_; }
    [[nodiscard]] bool IsButtonDown(MouseButton button) const override;
    // Synthetic input is never queued, so there is nothing to throw away; calls are counted.
    void DiscardPendingMouseInput() override { ++discardCalls_; }
    void Focus() override;
    [[nodiscard]] bool HasFocus() const override { return focused_; }

    // ---- Synthetic input ----------------------------------------------------------------
    // The pointer moves to pos, then the button goes down (up). The button state follows
    // also when the event is not delivered.
    bool MouseDown(Point pos, MouseButton button = MouseButton::Left, Modifiers mods = {});
    bool MouseUp(Point pos, MouseButton button = MouseButton::Left, Modifiers mods = {});
    bool MouseMove(Point pos, Modifiers mods = {});
    bool MouseWheel(Point pos, int delta, Modifiers mods = {});
    // Move, down, up. True when the client got both button events.
    bool Click(Point pos, MouseButton button = MouseButton::Left, Modifiers mods = {});
    // The Win32 sequence: move, down, up, down marked doubleClick, up.
    bool DoubleClick(Point pos, MouseButton button = MouseButton::Left, Modifiers mods = {});
    // The pointer goes to another window (OnMouseLeave when it was inside; the position
    // becomes unknown).
    void MouseLeaveWindow();

    bool KeyDown(std::uint32_t key, Modifiers mods = {}, bool repeat = false);
    bool KeyUp(std::uint32_t key, Modifiers mods = {});
    // Down then up, without a character.
    bool PressKey(std::uint32_t key, Modifiers mods = {});
    bool Char(char32_t ch);
    // One OnChar per code point (ill-formed UTF-8 gives U+FFFD).
    bool TypeText(std::string_view utf8);
    // Another window takes the keyboard focus.
    void LoseFocus();

    // ---- Fake clock ---------------------------------------------------------------------
    [[nodiscard]] std::int64_t NowMs() const { return nowMs_; }
    // Moves the clock forward, firing every timer that falls due on the way in time order
    // (a repeating timer fires once per interval), then paints. Throws ostinel::Error for a
    // negative step.
    void AdvanceTime(std::int64_t ms);
    [[nodiscard]] bool IsTimerActive(int id) const { return timers_.IsActive(id); }

    // ---- What the window shows ----------------------------------------------------------
    // The pixels last blitted, opaque (premultiplied colour over black, as a 24-bit window
    // shows it). Black until the first paint.
    [[nodiscard]] const gui::Image& Screen() const { return screen_; }
    // Throws gui::CanvasError when the file cannot be written.
    void SavePng(const std::filesystem::path& path) const;
    // Invalidated and not yet painted (client coordinates; empty when nothing is pending).
    [[nodiscard]] Rect PendingInvalidation() const { return dirty_; }
    [[nodiscard]] int PaintCount() const { return paintCount_; }
    [[nodiscard]] Rect LastPaintRect() const { return lastPaint_; }
    [[nodiscard]] Cursor CurrentCursor() const { return cursor_; }
    [[nodiscard]] bool IsCaptured() const { return captured_; }
    [[nodiscard]] int DiscardCalls() const { return discardCalls_; }

private:
    [[nodiscard]] bool Inside(Point pos) const;
    // Moves the pointer; true when events at pos go to this window.
    bool TrackPointer(Point pos);
    void PaintPending();

    IWindowClient& client_;
    int width_;
    int height_;
    gui::Image screen_;
    Rect dirty_;
    Rect lastPaint_;
    int paintCount_ = 0;
    TimerList timers_;
    std::int64_t nowMs_ = 0;
    std::optional<Point> pointer_;
    bool pointerInside_ = false;
    bool buttons_[3] = {false, false, false};
    bool captured_ = false;
    bool focused_ = false;
    Cursor cursor_ = Cursor::Arrow;
    int discardCalls_ = 0;
};

// Throws like the constructor.
[[nodiscard]] std::unique_ptr<HeadlessWindow> CreateHeadlessWindow(int width, int height,
                                                                   IWindowClient& client);

} // namespace ostinel::platform
