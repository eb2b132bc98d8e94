#pragma once
// A repeating timer of the window, like the toolkit timers the forms declare (tim...).
// The root's platform window runs it (SetTimer on Win32; the idle pump's timer list on X11 and
// headless). A timer created before the window exists starts when the window is attached.
// GUI thread only; OnTimer may stop or restart the timer (not destroy it).
#include <functional>

namespace ostinel::gui {

class WidgetRoot;

class TTimer {
public:
    explicit TTimer(WidgetRoot& root, int intervalMs = 1000);
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    [[nodiscard]] int Interval() const { return interval_; }
    // Restarts a running timer with the new interval. Values below 1 count as 1.
    void SetInterval(int intervalMs);
    [[nodiscard]] bool Enabled() const { return enabled_; }
    // Enabling starts a full interval; enabling a running timer restarts it.
    void SetEnabled(bool enabled);
    void Start() { SetEnabled(true); }
    void Stop() { SetEnabled(false); }
    [[nodiscard]] int Id() const { return id_; }

    std::function<void()> OnTimer;

private:
    friend class WidgetRoot;
    void Fire();
    void Arm();

    WidgetRoot* root_;
    int id_;
    int interval_;
    bool enabled_ = false;
};

} // namespace ostinel::gui
