#include "gui/controls/QelNumericEdit.h"

#include "gui/WidgetTestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace ostinel::gui {
namespace {

namespace Key = platform::Key;
using test::Harness;
using test::kCtrl;

// Keys in the scripts below: \b Backspace, \x7f the Delete key, \x01 Ctrl+A, \x03 Ctrl+C,
// \x16 Ctrl+V, \x18 Ctrl+X; everything else is typed.
void Play(Harness& h, std::u32string_view script) {
    for (const char32_t ch : script) {
        switch (ch) {
        case U'\b':
            h.Key(Key::Back);
            break;
        case 0x7F:
            h.Key(Key::Delete);
            break;
        case 0x01:
            h.Key(Key::LetterA, kCtrl);
            break;
        case 0x03:
            h.Key(Key::LetterA + 2, kCtrl);
            break;
        case 0x16:
            h.Key(Key::LetterA + ('V' - 'A'), kCtrl);
            break;
        case 0x18:
            h.Key(Key::LetterA + ('X' - 'A'), kCtrl);
            break;
        default:
            h.root.OnChar(ch);
            break;
        }
    }
}

struct Case {
    const char* name;
    const char* text;
    double min;
    double max;
    int selStart;
    int selLength;
    std::u32string_view keys;
    const char* clipboard; // text on the clipboard before the keys, or nullptr
    const char* expected;
    int caret;
};

class NumericEditKeys : public ::testing::TestWithParam<Case> {};

TEST_P(NumericEditKeys, KeepTheTextAValidWholeNumber) {
    const Case& c = GetParam();
    Harness h;
    auto& edit = h.root.Content()->Add<TQelNumericEdit>();
    edit.SetBounds(10, 10, 75, 24);
    edit.SetDecimalSeparator(U'.');
    edit.SetMaxLength(12);
    edit.SetMinValue(c.min);
    edit.SetMaxValue(c.max);
    edit.SetText(c.text);
    h.root.Content()->NotifyLoaded();
    ASSERT_TRUE(edit.SetFocus(FocusReason::Mouse));
    edit.SetSelStart(c.selStart);
    edit.SetSelLength(c.selLength);
    if (c.clipboard != nullptr) {
        h.clipboard.SetText(c.clipboard);
    }
    Play(h, c.keys);
    EXPECT_EQ(edit.Text(), c.expected);
    if (c.caret >= 0) {
        EXPECT_EQ(edit.CaretPos(), c.caret);
    }
}

constexpr Case kCases[] = {
    {"MinusTogglesTheSignWhenNegativesAreAllowed", "25", -100, 100, 2, 0, U"-", nullptr, "-25", 3},
    {"SecondMinusTogglesBack", "-25", -100, 100, 3, 0, U"-", nullptr, "25", 2},
    {"MinusDoesNothingWithoutNegatives", "25", 0, 200, 2, 0, U"-", nullptr, "25", 2},
    {"DigitReplacesALoneZero", "0", 0, 200, 1, 0, U"7", nullptr, "7", 1},
    {"DigitReplacesTheZeroAfterTheSign", "-0", -100, 100, 1, 0, U"4", nullptr, "-4", 2},
    {"BackspaceOnTheLastDigitLeavesZero", "5", 0, 200, 1, 0, U"\b", nullptr, "0", 1},
    {"BackspaceBehindANegativeDigitLeavesMinusZero", "-5", -100, 100, 2, 0, U"\b", nullptr, "-0",
     1},
    {"BackspaceAtTheStartDoesNothing", "12", 0, 200, 0, 0, U"\b", nullptr, "12", 0},
    {"DeletingAllOfANegativeNumberLeavesZero", "-45", -100, 100, 0, 3, U"\x7f", nullptr, "0", -1},
    {"ZeroAtTheStartIsRefused", "12", 0, 200, 0, 0, U"0", nullptr, "12", 0},
    {"PasteFeedsEachCharacterThroughTheRules", "0", 0, 200, 1, 0, U"\x16", "1a2", "12", 2},
    {"BackspaceOverASelectionRemovesExactlyIt", "123", 0, 200, 1, 2, U"\b", nullptr, "1", 1},
    {"LettersAreDropped", "12", 0, 200, 2, 0, U"a x", nullptr, "12", 2},
    {"DecimalSeparatorIsDroppedAndCollapsesTheSelection", "123", 0, 200, 0, 3, U".", nullptr, "123",
     0},
    {"ALetterOverASelectionStillDeletesIt", "123", 0, 200, 1, 1, U"a", nullptr, "13", 1},
    {"DigitsGoBehindTheSignEvenWithTheCaretBeforeIt", "-5", -100, 100, 0, 0, U"3", nullptr, "-35",
     2},
    {"CtrlAMakesTheNextCharacterSelectAll", "123", 0, 999, 1, 0,
     U"\x01"
     U"5",
     nullptr, "5", 1},
    {"DeleteKeyRemovesTheNextCharacter", "123", 0, 999, 1, 0, U"\x7f", nullptr, "13", 1},
    {"DeleteKeyOnTheOnlyDigitLeavesZero", "5", 0, 999, 0, 0, U"\x7f", nullptr, "0", 1},
    {"DeleteKeyAtTheEndDoesNothing", "5", 0, 999, 1, 0, U"\x7f", nullptr, "5", 1},
    {"TypingStopsAtTheMaximumLength", "123456789012", 0, 0, 12, 0, U"3", nullptr, "123456789012",
     12},
    {"CutRemovesTheSelectionByTheRules", "-7", -100, 100, 1, 1, U"\x18", nullptr, "-0", 1},
    {"DigitsAppendNormally", "1", 0, 999, 1, 0, U"23", nullptr, "123", 3},
};

INSTANTIATE_TEST_SUITE_P(Table, NumericEditKeys, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

struct NumericEditFixture : ::testing::Test {
    NumericEditFixture() {
        edit = &h.root.Content()->Add<TQelNumericEdit>();
        edit->SetBounds(10, 10, 75, 24);
        edit->SetDecimalSeparator(U'.');
        edit->OnChange = [this] { ++changes; };
    }
    Harness h;
    TQelNumericEdit* edit = nullptr;
    int changes = 0;
};

TEST_F(NumericEditFixture, ValueReadsTheTextWithUnreadableTextAsZero) {
    for (const auto& [text, value] : std::initializer_list<std::pair<const char*, double>>{
             {"", 0}, {"-", 0}, {"42", 42}, {"-17", -17}, {"1x", 0}}) {
        edit->SetText(text);
        EXPECT_EQ(edit->Value(), value) << text;
    }
}

TEST_F(NumericEditFixture, SettingTheValueIsSilentUntilTheFormIsLoaded) {
    edit->SetValue(12.4);
    EXPECT_EQ(edit->Text(), "12");
    EXPECT_EQ(changes, 0);
    edit->NotifyLoaded();
    edit->SetValue(-3);
    EXPECT_EQ(edit->Text(), "-3");
    EXPECT_EQ(changes, 1);
}

TEST_F(NumericEditFixture, DeletingASelectionNotifiesOnce) {
    edit->NotifyLoaded();
    edit->SetText("-45");
    changes = 0;
    ASSERT_TRUE(edit->SetFocus());
    edit->SelectAll();
    h.Key(Key::Delete);
    EXPECT_EQ(edit->Text(), "0");
    EXPECT_EQ(changes, 1);
}

TEST_F(NumericEditFixture, LeavingTheBoxClampsIntoTheRangeWhenMinAndMaxDiffer) {
    edit->SetMinValue(0);
    edit->SetMaxValue(200);
    edit->SetText("300");
    auto& other = h.root.Content()->Add<TQelNumericEdit>();
    other.SetBounds(100, 10, 75, 24);
    ASSERT_TRUE(edit->SetFocus());
    ASSERT_TRUE(other.SetFocus());
    EXPECT_EQ(edit->Text(), "200");
    edit->SetText("-5");
    ASSERT_TRUE(edit->SetFocus());
    ASSERT_TRUE(other.SetFocus());
    EXPECT_EQ(edit->Text(), "0");

    edit->SetMaxValue(0); // equal bounds: no clamping
    edit->SetText("300");
    ASSERT_TRUE(edit->SetFocus());
    ASSERT_TRUE(other.SetFocus());
    EXPECT_EQ(edit->Text(), "300");
}

TEST_F(NumericEditFixture, EnteringByKeyboardSelectsAllButAPressDoesNot) {
    edit->SetText("123");
    edit->SetSelStart(1);
    ASSERT_TRUE(edit->SetFocus(FocusReason::Keyboard));
    EXPECT_EQ(edit->SelLength(), 3);
    h.root.SetFocusedWidget(nullptr, FocusReason::Program);
    edit->SetSelStart(1);
    h.Press({70, 20});
    EXPECT_EQ(edit->SelLength(), 0);
    h.Release({70, 20});
}

TEST_F(NumericEditFixture, EnterAndEscapeAreLeftToTheDialog) {
    int dialogKeys = 0;
    class Catcher final : public Widget {
    public:
        explicit Catcher(int& n) : n_(n) {}
        bool KeyDown(const KeyEvent& e) override {
            n_ += e.key == Key::Return || e.key == Key::Escape;
            return true;
        }

    private:
        int& n_;
    };
    auto& dialog = h.root.Content()->Add<Catcher>(dialogKeys);
    dialog.SetBounds(0, 100, 200, 100);
    auto owned = h.root.Content()->RemoveChild(*edit);
    auto& inner = dialog.AddChild(std::move(owned));
    ASSERT_TRUE(inner.SetFocus());
    h.Key(Key::Return);
    h.Key(Key::Escape);
    EXPECT_EQ(dialogKeys, 2);
}

TEST_F(NumericEditFixture, ReadOnlyBoxIgnoresTypingButCopies) {
    edit->SetText("42");
    edit->SetReadOnly(true);
    ASSERT_TRUE(edit->SetFocus());
    edit->SelectAll();
    Play(h, U"7\b\x7f\x03");
    EXPECT_EQ(edit->Text(), "42");
    EXPECT_EQ(h.clipboard.text, std::optional<std::string>("42"));
}

TEST_F(NumericEditFixture, NeverLowerThanTheMinimumHeight) {
    edit->SetSize(75, 5);
    EXPECT_EQ(edit->Height(), edit->MinimumHeight());
    EXPECT_GE(edit->MinimumHeight(), 20);
    EXPECT_LE(edit->MinimumHeight(), 24) << "the prompt's 24-pixel box stays as designed";
}

} // namespace
} // namespace ostinel::gui
