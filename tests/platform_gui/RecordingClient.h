#pragma once
// A window client that writes down what reached it, one line per call, so that tests compare
// readable event lists. OnPaint paints the dirty area in paintColor, or calls onPaint.
#include "graphics/Image.h"
#include "platform/Window.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace ostinel::platform::test {

inline std::string Describe(Point p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

inline std::string Describe(Modifiers m) {
    std::string s;
    s += m.shift ? " shift" : "";
    s += m.ctrl ? " ctrl" : "";
    s += m.alt ? " alt" : "";
    return s;
}

inline std::string Describe(MouseButton b) {
    return b == MouseButton::Left ? "L" : b == MouseButton::Right ? "R" : "M";
}

inline std::string Hex(std::uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", v);
    return text;
}

class RecordingClient : public IWindowClient {
public:
    RecordingClient(int width, int height) : surface(width, height, gui::Color::Rgb(0x000000)) {}
    virtual ~RecordingClient() = default;
    RecordingClient(const RecordingClient&) = delete;
    RecordingClient& operator=(const RecordingClient&) = delete;

    void OnPaint(const Rect& dirty) override {
        paints.push_back(dirty);
        if (onPaint) {
            onPaint(dirty);
            return;
        }
        const Rect area = dirty.Intersect(surface.Bounds());
        const gui::Pixel p = gui::pixel::Premultiply(paintColor);
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                surface.Row(y)[x] = p;
            }
        }
    }
    [[nodiscard]] const gui::Image& Surface() const override { return surface; }

    void OnMouseDown(const MouseEvent& e) override {
        Log("down " + Describe(e.button) + " " + Describe(e.pos) + Describe(e.mods) +
            (e.doubleClick ? " double" : ""));
    }
    void OnMouseUp(const MouseEvent& e) override {
        Log("up " + Describe(e.button) + " " + Describe(e.pos) + Describe(e.mods));
    }
    void OnMouseMove(Point pos, Modifiers mods) override {
        Log("move " + Describe(pos) + Describe(mods));
    }
    void OnMouseLeave() override { Log("leave"); }
    void OnMouseWheel(const WheelEvent& e) override {
        Log("wheel " + Describe(e.pos) + " " + std::to_string(e.delta) + Describe(e.mods));
    }
    void OnKeyDown(const KeyEvent& e) override {
        Log("keydown " + Hex(e.key) + Describe(e.mods) + (e.repeat ? " repeat" : ""));
    }
    void OnKeyUp(const KeyEvent& e) override { Log("keyup " + Hex(e.key) + Describe(e.mods)); }
    void OnChar(char32_t ch) override { Log("char " + Hex(static_cast<std::uint32_t>(ch))); }
    void OnTimer(int id) override {
        Log("timer " + std::to_string(id));
        if (onTimer) {
            onTimer(id);
        }
    }
    void OnFocusChanged(bool focused) override { Log(focused ? "focus in" : "focus out"); }

    // The lines logged since the last call.
    std::vector<std::string> Take() {
        std::vector<std::string> taken;
        taken.swap(log);
        return taken;
    }

    gui::Image surface;
    gui::Color paintColor = gui::Color::Rgb(0xFFFFFF);
    std::vector<Rect> paints;
    std::vector<std::string> log;
    std::function<void(const Rect&)> onPaint;
    std::function<void(int)> onTimer;

private:
    void Log(std::string line) { log.push_back(std::move(line)); }
};

} // namespace ostinel::platform::test
