#include "gui/controls/Edit.h"
#include "gui/controls/Label.h"
#include "gui/controls/QelNumericEdit.h"
#include "gui/dialogs/InputDlg.h"
#include "gui/dialogs/InputDlgNumeric.h"
#include "gui/dialogs/MessageDialog.h"

#include "gui/WidgetTestSupport.h"

#include <gtest/gtest.h>
#include <optional>

namespace ostinel::gui {
namespace {

namespace Key = platform::Key;
using test::Harness;

Point CentreOf(const Widget& w) {
    const Rect r = w.RootRect();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// ---- Message dialog ------------------------------------------------------------------------

struct MessageCase {
    const char* name;
    TMsgDlgButtons buttons;
    std::uint32_t key;
    TModalResult expected;
};

class MessageKeys : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageKeys, EnterEscapeAndLettersPressTheRightButton) {
    const MessageCase& c = GetParam();
    Harness h(950, 600);
    std::optional<TModalResult> result;
    std::size_t overlaysAtResult = 99;
    ShowMessageDialog(h.root, "Initialize preset?", "Init", c.buttons, TMsgDlgType::Confirmation,
                      [&](TModalResult r) {
                          result = r;
                          overlaysAtResult = h.root.OverlayCount();
                      });
    h.Key(c.key);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, c.expected);
    EXPECT_EQ(overlaysAtResult, 0u) << "the result arrives after the box is gone";
}

INSTANTIATE_TEST_SUITE_P(
    Table, MessageKeys,
    ::testing::Values(
        MessageCase{"EnterIsYes", TMsgDlgButtons::YesNo, Key::Return, TModalResult::Yes},
        MessageCase{"EscapeIsNo", TMsgDlgButtons::YesNo, Key::Escape, TModalResult::No},
        MessageCase{"YIsYes", TMsgDlgButtons::YesNo, Key::LetterA + ('Y' - 'A'), TModalResult::Yes},
        MessageCase{"NIsNo", TMsgDlgButtons::YesNo, Key::LetterA + ('N' - 'A'), TModalResult::No},
        MessageCase{"ThreeEnterIsYes", TMsgDlgButtons::YesNoCancel, Key::Return, TModalResult::Yes},
        MessageCase{"ThreeEscapeIsCancel", TMsgDlgButtons::YesNoCancel, Key::Escape,
                    TModalResult::Cancel},
        MessageCase{"ThreeNIsNo", TMsgDlgButtons::YesNoCancel, Key::LetterA + ('N' - 'A'),
                    TModalResult::No},
        MessageCase{"EnterIsOk", TMsgDlgButtons::OK, Key::Return, TModalResult::OK},
        MessageCase{"EscapeIsOk", TMsgDlgButtons::OK, Key::Escape, TModalResult::OK}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(MessageDialog, ClickingAButtonAndEnterOnTheFocusedButtonAnswer) {
    Harness h(950, 600);
    std::optional<TModalResult> result;
    auto& box =
        ShowMessageDialog(h.root, "Delete \"bass\"?", "Delete Preset", TMsgDlgButtons::YesNo,
                          TMsgDlgType::Confirmation, [&](TModalResult r) { result = r; });
    ASSERT_EQ(box.ButtonCount(), 2u);
    h.Click(CentreOf(box.Button(1)));
    EXPECT_EQ(result, TModalResult::No);

    result.reset();
    auto& again = ShowMessageDialog(h.root, "Delete?", "Delete Preset", TMsgDlgButtons::YesNo,
                                    TMsgDlgType::Confirmation, [&](TModalResult r) { result = r; });
    h.Key(Key::Tab); // the focus moves to No, which Enter then presses
    EXPECT_TRUE(again.Button(1).HasFocus());
    h.Key(Key::Return);
    EXPECT_EQ(result, TModalResult::No);
}

TEST(MessageDialog, IsModalCentredAndShowsTheApplicationTitleWithoutACaption) {
    Harness h(950, 600);
    int contentClicks = 0;
    auto& below = h.root.Content()->Add<Widget>();
    below.SetBounds(0, 0, 950, 600);
    below.SetFocusable(true);
    below.OnClick = [&] { ++contentClicks; };
    ASSERT_TRUE(below.SetFocus());

    auto& box = ShowMessageDialog(h.root,
                                  "Please close and re-open the plugin window for skin "
                                  "changes to take effect.",
                                  "", TMsgDlgButtons::OK, TMsgDlgType::Information);
    EXPECT_EQ(box.Caption(), "Ostinel");
    const Rect w = box.WindowRect();
    EXPECT_LE(std::abs((950 - w.right) - w.left), 1);
    EXPECT_LE(std::abs((600 - w.bottom) - w.top), 1);
    h.Click({5, 5});
    EXPECT_EQ(contentClicks, 0);
    h.Key(Key::Return);
    EXPECT_EQ(h.root.OverlayCount(), 0u);
    EXPECT_TRUE(below.HasFocus()) << "the focus goes back where it was";
    h.Click({5, 5});
    EXPECT_EQ(contentClicks, 1);
}

// ---- InputText ---------------------------------------------------------------------------

TEST(InputText, OkIsEnabledForNonBlankTextOrWhenEmptyIsAllowed) {
    Harness h(950, 600);
    auto& strict = InputText(h.root, "Save Preset", "Name", "  ", 50, false, nullptr);
    EXPECT_FALSE(strict.btnOK.Enabled());
    h.Type(U"a");
    EXPECT_TRUE(strict.btnOK.Enabled());
    h.Key(Key::Back);
    EXPECT_FALSE(strict.btnOK.Enabled());
    h.Key(Key::Return);
    EXPECT_EQ(h.root.OverlayCount(), 1u) << "Enter does nothing while OK is disabled";
    h.Key(Key::Escape);
    EXPECT_EQ(h.root.OverlayCount(), 0u);

    auto& lenient = InputText(h.root, "Save Preset", "Name", "", 50, true, nullptr);
    EXPECT_TRUE(lenient.btnOK.Enabled());
}

TEST(InputText, OkReturnsTheUntrimmedTextAndCancelTheOriginal) {
    Harness h(950, 600);
    std::optional<std::pair<bool, std::string>> result;
    auto done = [&](bool ok, const std::string& v) { result = {ok, v}; };
    auto& form = InputText(h.root, "Save Preset", "Name", "Bass", 50, true, done);
    EXPECT_EQ(form.txtValue.SelText(), "Bass") << "the text is selected when shown";
    h.Key(Key::End);
    h.Type(U" Line ");
    h.Key(Key::Return);
    EXPECT_EQ(result, (std::pair<bool, std::string>{true, "Bass Line "}));

    auto& second = InputText(h.root, "Save Preset", "Name", "Bass", 50, true, done);
    h.Type(U"xyz");
    h.Click(CentreOf(second.btnCancel));
    EXPECT_EQ(result, (std::pair<bool, std::string>{false, "Bass"}));
}

TEST(InputText, LayoutFollowsTheResizeRules) {
    Harness h(950, 600);
    auto& form = InputText(h.root, "c", "p", "", 10, true, nullptr);
    EXPECT_EQ(form.btnCancel.Bounds(), Rect::FromSize(214, 70, 80, 26));
    EXPECT_EQ(form.btnOK.Bounds(), Rect::FromSize(128, 70, 80, 26));
    EXPECT_EQ(form.txtValue.Bounds(), Rect::FromSize(6, 23, 288, 23));
    EXPECT_EQ(form.lblPrompt.Left(), 6);
    EXPECT_EQ(form.txtValue.MaxLength(), 10);
}

// ---- InputNumber -------------------------------------------------------------------------

struct NumberFixture : ::testing::Test {
    TfrmInputDlgNumeric& Ask(double value, double min, double max) {
        return InputNumber(h.root, "Set Channel All ", "Channel (1-16)", value, 0, min, max,
                           [this](bool ok, double v) {
                               result = {ok, v};
                           });
    }
    Harness h{950, 600};
    std::optional<std::pair<bool, double>> result;
};

TEST_F(NumberFixture, OutOfRangeAnswerHidesTheBoxAndShowsItAgainAfter250Ms) {
    auto& form = Ask(3, 1, 16);
    EXPECT_EQ(form.txtNumeric.Text(), "3");
    h.Type(U"17");
    h.Key(Key::Return);
    EXPECT_FALSE(result.has_value());
    EXPECT_FALSE(form.WindowVisible());
    EXPECT_EQ(h.root.OverlayCount(), 1u) << "still modal while it waits";
    h.Key(Key::Return); // ignored while hidden
    h.Advance(249);
    EXPECT_FALSE(form.WindowVisible());
    h.Advance(1);
    EXPECT_TRUE(form.WindowVisible());
    EXPECT_EQ(form.txtNumeric.Text(), "17") << "the user's text is still there";
    EXPECT_TRUE(form.txtNumeric.HasFocus());
    h.Type(U"16"); // the text was selected again
    h.Key(Key::Return);
    EXPECT_EQ(result, (std::pair<bool, double>{true, 16}));
    h.Advance(1000);
    EXPECT_EQ(h.root.OverlayCount(), 0u);
}

TEST_F(NumberFixture, ZeroIsRefusedTooAndTheBoundsAreAccepted) {
    auto& form = Ask(5, 1, 16);
    h.Type(U"0"); // over the selected "5"
    EXPECT_EQ(form.txtNumeric.Text(), "0");
    h.Key(Key::Return); // below the minimum
    EXPECT_FALSE(result.has_value());
    EXPECT_FALSE(form.WindowVisible());
    h.Advance(250);
    h.Type(U"1");
    h.Key(Key::Return);
    EXPECT_EQ(result, (std::pair<bool, double>{true, 1}));
}

TEST_F(NumberFixture, ClickingOkClampsTheTextAsTheBoxLosesTheFocus) {
    auto& form = Ask(50, 0, 200);
    h.Type(U"300");
    h.Click(CentreOf(form.btnOK));
    EXPECT_EQ(result, (std::pair<bool, double>{true, 200}));
}

TEST_F(NumberFixture, CancelReturnsFalseAndEqualBoundsAcceptAnything) {
    Ask(7, 0, 100);
    h.Type(U"55");
    h.Key(Key::Escape);
    EXPECT_EQ(result, (std::pair<bool, double>{false, 7}));
    Ask(7, 0, 0);
    h.Type(U"999");
    h.Key(Key::Return);
    EXPECT_EQ(result, (std::pair<bool, double>{true, 999}));
}

TEST_F(NumberFixture, ShowsAnOutOfRangeStartValueUnchangedAndLaysOutLikeTheDesign) {
    auto& form = Ask(40, 1, 16);
    EXPECT_EQ(form.txtNumeric.Text(), "40");
    EXPECT_EQ(form.txtNumeric.Bounds(), Rect::FromSize(6, 28, 75, 24));
    EXPECT_EQ(form.btnCancel.Bounds(), Rect::FromSize(142, 73, 80, 25));
    EXPECT_EQ(form.btnOK.Bounds(), Rect::FromSize(56, 73, 80, 25));
    EXPECT_EQ(form.lblPrompt.Bounds().TopLeft(), (Point{6, 7}));
}

} // namespace
} // namespace ostinel::gui
