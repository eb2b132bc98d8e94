#pragma once
// A top-level window without a windowing system, for tests of programs that own one: it
// keeps its title, size and child placements, and takes synthetic close requests and key
// presses. Nothing is queued: each synthetic event reaches the client at once.
#include "platform/Window.h"

#include <map>
#include <vector>

namespace ostinel::platform {

class HeadlessTopLevelWindow final : public ITopLevelWindow {
public:
    // Throws ostinel::Error for a side below 1 or above 16384 (SetClientSize: above 16384).
    HeadlessTopLevelWindow(std::string title, int width, int height, ITopLevelClient& client);

    // ---- ITopLevelWindow --------------------------------------------------------------------
    [[nodiscard]] void* NativeHandle() const override;
    [[nodiscard]] int ClientWidth() const override { return width_; }
    [[nodiscard]] int ClientHeight() const override { return height_; }
    void SetClientSize(int width, int height) override;
    void SetTitle(const std::string& utf8) override { title_ = utf8; }
    [[nodiscard]] const std::string& Title() const override { return title_; }
    [[nodiscard]] bool Destroyed() const override { return destroyed_; }
    void Show() override { shown_ = true; }
    void PlaceChild(void* child, const Rect& bounds) override;
    void AddShortcut(int id, std::uint32_t key, Modifiers mods) override;
    void PumpEvents() override {}
    void WaitForEvents(int /*maxMs*/) override {}

    // ---- Synthetic input ----------------------------------------------------------------
    // The window manager's close button.
    void RequestClose() { client_.OnCloseRequest(); }
    // A key press anywhere in the window; true when it was a shortcut (the client got it).
    bool PressKey(std::uint32_t key, Modifiers mods = {});
    // The window system destroys the window.
    void DestroyFromOutside() { destroyed_ = true; }

    // ---- What happened ------------------------------------------------------------------
    [[nodiscard]] bool Shown() const { return shown_; }
    // Where PlaceChild last put a child; an empty rectangle when it never did.
    [[nodiscard]] Rect ChildBounds(void* child) const;

private:
    struct Shortcut {
        int id;
        std::uint32_t key;
        Modifiers mods;
    };
    ITopLevelClient& client_;
    std::string title_;
    int width_;
    int height_;
    bool shown_ = false;
    bool destroyed_ = false;
    std::vector<Shortcut> shortcuts_;
    std::map<void*, Rect> children_;
};

} // namespace ostinel::platform
