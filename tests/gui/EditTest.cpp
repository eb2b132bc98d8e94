#include "gui/controls/Edit.h"

#include "gui/WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace ostinel::gui {
namespace {

namespace Key = platform::Key;
using test::Harness;
using test::kCtrl;
using test::kShift;

constexpr std::uint32_t Letter(char c) {
    return Key::LetterA + static_cast<std::uint32_t>(c - 'A');
}

struct EditFixture : ::testing::Test {
    EditFixture() {
        edit = &h.root.Content()->Add<TEdit>();
        edit->SetBounds(10, 10, 200, 23);
        edit->OnChange = [this] { ++changes; };
        EXPECT_TRUE(edit->SetFocus(FocusReason::Mouse));
    }
    Harness h;
    TEdit* edit = nullptr;
    int changes = 0;
};

TEST_F(EditFixture, TypingInsertsAtTheCaretAndReplacesTheSelection) {
    h.Type(U"Hello");
    EXPECT_EQ(edit->Text(), "Hello");
    EXPECT_EQ(changes, 5);
    h.Key(Key::Left);
    h.Key(Key::Left, kShift);
    h.Key(Key::Left, kShift);
    EXPECT_EQ(edit->SelText(), "ll");
    h.Type(U"\u00FC"); // a non-ASCII character counts as one
    EXPECT_EQ(edit->Text(), "He\xC3\xBCo");
    EXPECT_EQ(edit->CaretPos(), 3);
}

TEST_F(EditFixture, NavigationKeysMoveAndExtendTheSelection) {
    edit->SetText("one two  three");
    h.Key(Key::Home);
    EXPECT_EQ(edit->CaretPos(), 0);
    h.Key(Key::Right, kCtrl);
    EXPECT_EQ(edit->CaretPos(), 4) << "to the start of the next word";
    h.Key(Key::Right, kCtrl);
    EXPECT_EQ(edit->CaretPos(), 9);
    h.Key(Key::Left, kCtrl);
    EXPECT_EQ(edit->CaretPos(), 4);
    h.Key(Key::End, kShift);
    EXPECT_EQ(edit->SelText(), "two  three");
    h.Key(Key::Left); // collapses to the selection's start
    EXPECT_EQ(edit->CaretPos(), 4);
    EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(EditFixture, BackspaceAndDeleteRemoveOneCharacterOrTheSelection) {
    edit->SetText("abcdef");
    edit->SetSelStart(3);
    h.Key(Key::Back);
    EXPECT_EQ(edit->Text(), "abdef");
    h.Key(Key::Delete);
    EXPECT_EQ(edit->Text(), "abef");
    edit->SetSelStart(1);
    edit->SetSelLength(2);
    h.Key(Key::Back);
    EXPECT_EQ(edit->Text(), "af");
    edit->SetSelStart(2);
    h.Key(Key::Delete);
    EXPECT_EQ(edit->Text(), "af") << "nothing after the caret";
}

TEST_F(EditFixture, ClipboardKeysCopyCutAndPaste) {
    edit->SetText("copy me");
    h.Key(Letter('A'), kCtrl);
    h.Key(Letter('C'), kCtrl);
    EXPECT_EQ(h.clipboard.text, std::optional<std::string>("copy me"));
    edit->SetSelStart(0);
    edit->SetSelLength(5);
    h.Key(Letter('X'), kCtrl);
    EXPECT_EQ(edit->Text(), "me");
    EXPECT_EQ(h.clipboard.text, std::optional<std::string>("copy "));
    h.Key(Key::End);
    h.Key(Letter('V'), kCtrl);
    EXPECT_EQ(edit->Text(), "mecopy ");
    h.clipboard.SetText("first\r\nsecond");
    h.Key(Key::Insert, kShift);
    EXPECT_EQ(edit->Text(), "mecopy first") << "one line only";
}

TEST_F(EditFixture, MaxLengthStopsTypingAndPastingButNotSetText) {
    edit->SetMaxLength(4);
    h.Type(U"abcdef");
    EXPECT_EQ(edit->Text(), "abcd");
    edit->SetSelStart(1);
    edit->SetSelLength(1);
    h.clipboard.SetText("XYZ");
    h.Key(Letter('V'), kCtrl);
    EXPECT_EQ(edit->Text(), "aXcd") << "replaces the selection, within the limit";
    edit->SetText("longer than four");
    EXPECT_EQ(edit->Text(), "longer than four");
}

TEST_F(EditFixture, ReadOnlyIgnoresEditingButCopies) {
    edit->SetText("fixed");
    edit->SetReadOnly(true);
    h.Type(U"x");
    h.Key(Key::Back);
    h.Key(Letter('A'), kCtrl);
    h.Key(Letter('X'), kCtrl);
    EXPECT_EQ(edit->Text(), "fixed");
    h.Key(Letter('C'), kCtrl);
    EXPECT_EQ(h.clipboard.text, std::optional<std::string>("fixed"));
}

TEST_F(EditFixture, EnterEscapeAndTabAreNotConsumed) {
    for (const std::uint32_t key : {Key::Return, Key::Escape, Key::Tab}) {
        EXPECT_FALSE(edit->KeyDown({key, {}, false})) << key;
    }
    h.root.OnChar(U'\r');
    EXPECT_EQ(edit->Text(), "") << "control characters are not typed";
}

TEST_F(EditFixture, MouseSetsTheCaretDragsASelectionAndDoubleClickTakesAWord) {
    edit->SetText("alpha beta");
    h.Press({13, 20}); // just inside the left edge
    EXPECT_EQ(edit->CaretPos(), 0);
    h.MoveTo({205, 20});
    h.Release({205, 20});
    EXPECT_EQ(edit->SelText(), "alpha beta");
    h.Press({200, 20}, MouseButton::Left, {}, /*doubleClick=*/true);
    h.Release({200, 20});
    EXPECT_EQ(edit->SelText(), "beta");
}

TEST_F(EditFixture, AutoSelectOnKeyboardEntryOnly) {
    edit->SetText("value");
    auto& other = h.root.Content()->Add<TEdit>();
    other.SetBounds(10, 50, 100, 23);
    h.Key(Key::Tab);
    EXPECT_TRUE(other.HasFocus());
    h.Key(Key::Tab);
    EXPECT_TRUE(edit->HasFocus());
    EXPECT_EQ(edit->SelText(), "value");
    edit->SetAutoSelect(false);
    edit->SetSelStart(2);
    h.Key(Key::Tab);
    h.Key(Key::Tab);
    EXPECT_EQ(edit->SelLength(), 0);
}

} // namespace
} // namespace ostinel::gui
