#pragma once
// A fake platform window with a fake clock, an in-memory clipboard and a driver that feeds a
// WidgetRoot synthetic input the way a platform window would (the pointer position follows the
// events, so "control under the cursor" queries see it).
#include "gui/widgets/WidgetRoot.h"
#include "platform/Window.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ostinel::gui::test {

class FakeWindow final : public platform::IPlatformWindow {
public:
    FakeWindow(int width, int height) : width_(width), height_(height) {}

    [[nodiscard]] int ClientWidth() const override { return width_; }
    [[nodiscard]] int ClientHeight() const override { return height_; }
    [[nodiscard]] void* NativeHandle() const override { return const_cast<FakeWindow*>(this); }
    void Invalidate(const Rect& area) override { invalidated.push_back(area); }
    void PumpEvents() override {}
    void SetTimer(int id, int intervalMs) override { timers[id] = {intervalMs, now + intervalMs}; }
    void KillTimer(int id) override { timers.erase(id); }
    void SetCursor(platform::Cursor c) override { cursor = c; }
    void CaptureMouse() override { captured = true; }
    void ReleaseMouse() override { captured = false; }
    [[nodiscard]] std::optional<Point> CursorPos() const override { return cursorPos; }
    [[nodiscard]] bool IsButtonDown(platform::MouseButton) const override { return false; }
    void DiscardPendingMouseInput() override { ++discards; }
    void Focus() override { focused = true; }
    [[nodiscard]] bool HasFocus() const override { return focused; }

    // Moves the clock forward, firing due timers in time order.
    void Advance(int ms, platform::IWindowClient& client) {
        const std::int64_t end = now + ms;
        for (;;) {
            int id = 0;
            std::int64_t due = end + 1;
            for (const auto& [tid, t] : timers) {
                if (t.due < due) {
                    due = t.due;
                    id = tid;
                }
            }
            if (id == 0 || due > end) {
                break;
            }
            now = due;
            timers[id].due = now + timers[id].interval;
            client.OnTimer(id);
        }
        now = end;
    }

    struct Timer {
        int interval = 0;
        std::int64_t due = 0;
    };
    std::map<int, Timer> timers;
    std::int64_t now = 0;
    std::vector<Rect> invalidated;
    platform::Cursor cursor = platform::Cursor::Arrow;
    bool captured = false;
    bool focused = false;
    int discards = 0;
    std::optional<Point> cursorPos;

private:
    int width_;
    int height_;
};

class FakeClipboard final : public platform::IClipboard {
public:
    [[nodiscard]] bool HasFormat(const std::string& name) const override {
        return blocks.contains(name);
    }
    [[nodiscard]] std::optional<std::vector<std::uint8_t>>
    GetData(const std::string& name) const override {
        const auto it = blocks.find(name);
        return it == blocks.end() ? std::nullopt : std::optional(it->second);
    }
    void SetData(const std::string& name, const std::vector<std::uint8_t>& block) override {
        blocks = {{name, block}};
        text.reset();
    }
    [[nodiscard]] std::optional<std::string> GetText() const override { return text; }
    void SetText(const std::string& utf8) override {
        blocks.clear();
        text = utf8;
    }

    std::map<std::string, std::vector<std::uint8_t>> blocks;
    std::optional<std::string> text;
};

// A root in a fake window, driven by synthetic events.
class Harness {
public:
    explicit Harness(int width = 400, int height = 300)
        : window(width, height), root(width, height) {
        root.AttachWindow(&window);
        root.SetClipboard(&clipboard);
    }

    void MoveTo(Point p, platform::Modifiers mods = {}) {
        window.cursorPos = p;
        root.OnMouseMove(p, mods);
    }
    void Press(Point p, platform::MouseButton b = platform::MouseButton::Left,
               platform::Modifiers mods = {}, bool doubleClick = false) {
        window.cursorPos = p;
        root.OnMouseDown({p, b, mods, doubleClick});
    }
    void Release(Point p, platform::MouseButton b = platform::MouseButton::Left,
                 platform::Modifiers mods = {}) {
        window.cursorPos = p;
        root.OnMouseUp({p, b, mods, false});
    }
    void Click(Point p, platform::MouseButton b = platform::MouseButton::Left,
               platform::Modifiers mods = {}) {
        MoveTo(p, mods);
        Press(p, b, mods);
        Release(p, b, mods);
    }
    void Wheel(Point p, int delta, platform::Modifiers mods = {}) {
        window.cursorPos = p;
        root.OnMouseWheel({p, delta, mods});
    }
    void Key(std::uint32_t key, platform::Modifiers mods = {}) {
        root.OnKeyDown({key, mods, false});
        root.OnKeyUp({key, mods, false});
    }
    void Type(std::u32string_view text) {
        for (const char32_t ch : text) {
            root.OnChar(ch);
        }
    }
    void Advance(int ms) { window.Advance(ms, root); }

    FakeWindow window;
    FakeClipboard clipboard;
    WidgetRoot root;
};

inline constexpr platform::Modifiers kShift{true, false, false};
inline constexpr platform::Modifiers kCtrl{false, true, false};

} // namespace ostinel::gui::test
