// Timers of the headless window: the fake clock fires them in time order, once per interval,
// however the time is advanced, and handlers may change the timers while they run.
#include "platform/headless/HeadlessWindow.h"
#include "platform_gui/RecordingClient.h"

#include "common/Error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace ostinel::platform {
namespace {

using test::RecordingClient;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct TimerFixture : ::testing::Test {
    RecordingClient client{100, 50};
    HeadlessWindow window{100, 50, client};
    // "time:id" per firing.
    std::vector<std::string> fired;

    TimerFixture() {
        client.onTimer = [this](int id) {
            fired.push_back(std::to_string(window.NowMs()) + ":" + std::to_string(id));
        };
    }
};

struct StepPattern {
    const char* name;
    std::vector<std::int64_t> steps; // summing to 500
};

class TimerOrder : public TimerFixture, public ::testing::WithParamInterface<StepPattern> {};

// Three timers of 100, 250 and 40 ms over 500 ms. At equal times the timer that was (re)armed
// first fires first: at 200 and 400 ms timer 1 (armed at 100/300) before timer 3 (armed at
// 160/360), at 500 ms timer 2 (armed at 250) before timer 1 (armed at 400).
TEST_P(TimerOrder, FireInTimeOrderOncePerInterval) {
    window.SetTimer(1, 100);
    window.SetTimer(2, 250);
    window.SetTimer(3, 40);
    for (std::int64_t step : GetParam().steps) {
        window.AdvanceTime(step);
    }
    EXPECT_THAT(fired, ElementsAreArray<std::string>({"40:3", "80:3", "100:1", "120:3", "160:3",
                                                      "200:1", "200:3", "240:3", "250:2", "280:3",
                                                      "300:1", "320:3", "360:3", "400:1", "400:3",
                                                      "440:3", "480:3", "500:2", "500:1"}));
    EXPECT_EQ(window.NowMs(), 500);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, TimerOrder,
    ::testing::Values(StepPattern{"OneStep", {500}},
                      StepPattern{"UnevenSteps", {39, 1, 60, 0, 99, 1, 150, 150}},
                      StepPattern{"ExactlyOnDueTimes", {40, 40, 20, 20, 40, 40, 40, 10, 250}}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(TimerFixture, SettingAgainRestartsTheInterval) {
    window.SetTimer(1, 100);
    window.AdvanceTime(60);
    window.SetTimer(1, 100);
    window.AdvanceTime(150);
    EXPECT_THAT(fired, ElementsAre("160:1"));
}

TEST_F(TimerFixture, KilledTimerStops) {
    window.SetTimer(1, 100);
    window.AdvanceTime(150);
    window.KillTimer(1);
    window.AdvanceTime(500);
    EXPECT_THAT(fired, ElementsAre("100:1"));
    EXPECT_FALSE(window.IsTimerActive(1));
    window.KillTimer(42); // unknown ids are fine
}

// A one-shot timer (the 100 ms focus timer of the editor frame) kills itself in its handler,
// and a timer killed by another one due at the same moment does not fire any more.
TEST_F(TimerFixture, HandlersMayKillAndSetTimers) {
    client.onTimer = [this](int id) {
        fired.push_back(std::to_string(window.NowMs()) + ":" + std::to_string(id));
        if (id == 1) {
            window.KillTimer(1);
            window.KillTimer(2);
            window.SetTimer(3, 5);
        }
    };
    window.SetTimer(1, 100);
    window.SetTimer(2, 100);
    window.AdvanceTime(1000);
    EXPECT_THAT(fired, ::testing::Contains("100:1"));
    EXPECT_THAT(fired, ::testing::Not(::testing::Contains("100:2")));
    EXPECT_EQ(fired.at(1), "105:3");
    EXPECT_EQ(std::count(fired.begin(), fired.end(), "100:1"), 1);
}

TEST_F(TimerFixture, IntervalsBelowOneMillisecondBecomeOne) {
    window.SetTimer(7, 0);
    window.AdvanceTime(3);
    EXPECT_THAT(fired, ElementsAre("1:7", "2:7", "3:7"));
}

TEST_F(TimerFixture, TheClockDoesNotGoBack) {
    window.AdvanceTime(10);
    EXPECT_THROW(window.AdvanceTime(-1), Error);
    EXPECT_EQ(window.NowMs(), 10);
}

TEST_F(TimerFixture, PumpingDoesNotMoveTheClock) {
    window.SetTimer(1, 10);
    window.PumpEvents();
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(window.NowMs(), 0);
}

// What a timer invalidates is on screen when AdvanceTime returns.
TEST_F(TimerFixture, TimerRepaintsAreShownAfterTheStep) {
    window.PumpEvents();
    client.paintColor = gui::Color::Rgb(0x00FF00);
    client.onTimer = [this](int) { window.Invalidate({0, 0, 10, 10}); };
    window.SetTimer(1, 50);
    window.AdvanceTime(50);
    EXPECT_EQ(window.Screen().GetPixel(5, 5), gui::Color::Rgb(0x00FF00));
    EXPECT_EQ(window.Screen().GetPixel(50, 25), gui::Color::Rgb(0xFFFFFF));
}

} // namespace
} // namespace ostinel::platform
