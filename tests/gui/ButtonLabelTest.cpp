#include "gui/controls/Button.h"
#include "gui/controls/Label.h"
#include "gui/controls/QelSpTBXSpeedButton.h"

#include "gui/WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace ostinel::gui {
namespace {

using test::Harness;
using TState = TQelSpTBXSpeedButton::TState;

struct ButtonFixture : ::testing::Test {
    ButtonFixture() {
        for (int i = 0; i < 3; ++i) {
            auto& b = h.root.Content()->Add<TQelSpTBXSpeedButton>(std::to_string(i + 1));
            b.SetBounds(10 + 30 * i, 10, 24, 24);
            b.SetGroupIndex(1);
            b.OnClick = [this, i] { clicks.push_back(i); };
            group.push_back(&b);
        }
    }
    Point Centre(int i) { return {22 + 30 * i, 22}; }
    Harness h;
    std::vector<TQelSpTBXSpeedButton*> group;
    std::vector<int> clicks;
};

TEST_F(ButtonFixture, ARadioGroupKeepsExactlyOneButtonDown) {
    h.Click(Centre(0));
    h.Click(Centre(2));
    EXPECT_FALSE(group[0]->Down());
    EXPECT_TRUE(group[2]->Down());
    h.Click(Centre(2));
    EXPECT_TRUE(group[2]->Down()) << "without AllowAllUp a click does not release it";
    group[2]->SetAllowAllUp(true);
    h.Click(Centre(2));
    EXPECT_FALSE(group[2]->Down());
    group[1]->SetDown(true); // by code, as the channel buttons are set
    EXPECT_EQ(group[0]->Down() + group[1]->Down() + group[2]->Down(), 1);
    EXPECT_EQ(clicks, (std::vector<int>{0, 2, 2, 2}));
}

TEST_F(ButtonFixture, ClickNeedsTheReleaseInsideAndStatesFollowThePointer) {
    h.MoveTo(Centre(1));
    EXPECT_EQ(group[1]->State(), TState::Hot);
    h.Press(Centre(1));
    EXPECT_EQ(group[1]->State(), TState::Pressed);
    h.MoveTo({200, 200});
    EXPECT_NE(group[1]->State(), TState::Pressed) << "released look while the pointer is away";
    h.Release({200, 200});
    EXPECT_TRUE(clicks.empty());
    group[0]->SetEnabled(false);
    EXPECT_EQ(group[0]->State(), TState::Disabled);
    h.Click(Centre(0));
    EXPECT_TRUE(clicks.empty());
}

TEST_F(ButtonFixture, SpeedButtonsNeverTakeTheFocusButDialogButtonsDo) {
    h.Click(Centre(0));
    EXPECT_EQ(h.root.FocusedWidget(), nullptr);
    EXPECT_TRUE(group[0]->IsButtonControl());
    auto& push = h.root.Content()->Add<TButton>("OK", TModalResult::OK);
    push.SetBounds(10, 50, 80, 26);
    int pushed = 0;
    push.OnClick = [&] { ++pushed; };
    h.Click({20, 60});
    EXPECT_TRUE(push.HasFocus());
    h.Key(platform::Key::Space);
    EXPECT_EQ(pushed, 2);
}

TEST(Label, AutoSizeFitsTheTextAndWordWrapKeepsTheWidth) {
    TLabel label("Channel 1");
    const int width = label.Width();
    EXPECT_EQ(width, TextWidth(label.CaptionFont(), "Channel 1"));
    EXPECT_EQ(label.Height(), GetFontMetrics(label.CaptionFont()).height);
    label.SetCaption("one\r\ntwo");
    EXPECT_EQ(label.Lines(), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(label.Height(), 2 * GetFontMetrics(label.CaptionFont()).height);

    TLabel wrapped;
    wrapped.SetBounds(0, 0, 60, 10);
    wrapped.SetWordWrap(true);
    wrapped.SetCaption("alpha beta gamma delta");
    EXPECT_EQ(wrapped.Width(), 60);
    EXPECT_GT(wrapped.Lines().size(), 2u);
    for (const std::string& line : wrapped.Lines()) {
        EXPECT_LE(TextWidth(wrapped.CaptionFont(), line), 60) << line;
    }
}

TEST(Label, WrapTextBreaksOverlongWordsAndKeepsEmptyLines) {
    const Font font = MakeFont("Segoe UI", 12);
    const auto lines = WrapText(font, "C:\\a\\very\\long\\path\\without\\blanks\r\n\r\nend", 80);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 2], "");
    EXPECT_EQ(lines.back(), "end");
    std::string joined;
    for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
        EXPECT_LE(TextWidth(font, lines[i]), 80);
        joined += lines[i];
    }
    EXPECT_EQ(joined, "C:\\a\\very\\long\\path\\without\\blanks") << "nothing lost";
}

} // namespace
} // namespace ostinel::gui
