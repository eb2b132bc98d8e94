#pragma once
// The single-line edit box: caret, selection by mouse and Shift+keys, word jumps with Ctrl,
// clipboard keys (Ctrl+C/X/V, Ctrl+Insert, Shift+Insert, Shift+Delete) through the root's
// clipboard, a maximum length and read-only mode. Text is UTF-8 outside, code points inside,
// so caret positions count characters.
//
// Keys are handled on key-down; Backspace and the Ctrl+letter shortcuts are turned into their
// control characters (0x08, 0x01, 0x03, 0x16, 0x18) and go through KeyPress like typed
// characters, which subclasses override. Enter, Escape and Tab are left to the parents.
#include "gui/widgets/TextUtil.h"
#include "gui/widgets/Widget.h"

#include <functional>
#include <optional>
#include <string>

namespace ostinel::gui {

namespace ctrlchar {
inline constexpr char32_t SelectAll = 0x01, Copy = 0x03, Backspace = 0x08, Paste = 0x16, Cut = 0x18;
} // namespace ctrlchar

class TEdit : public Widget {
public:
    TEdit();

    [[nodiscard]] std::string Text() const { return ToUtf8(text_); }
    // Replaces the text (caret to the end, no selection); fires OnChange when it differs.
    void SetText(std::string_view text);
    [[nodiscard]] const std::u32string& CodePoints() const { return text_; }

    // 0: no limit. Typing and pasting stop at the limit; SetText does not cut.
    [[nodiscard]] int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length) { maxLength_ = length < 0 ? 0 : length; }
    [[nodiscard]] bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    // Select the whole text when the box is entered other than by a mouse press.
    [[nodiscard]] bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool on) { autoSelect_ = on; }
    [[nodiscard]] TextAlign Alignment() const { return alignment_; }
    void SetAlignment(TextAlign a);
    [[nodiscard]] const Font& TextFont() const { return font_; }
    void SetTextFont(const Font& font);
    // Face colour: the skin's edit colour unless set; the button face when read-only or
    // disabled.
    [[nodiscard]] Color FaceColor() const;
    void SetColor(Color c);
    [[nodiscard]] Color FontColor() const;
    void SetFontColor(Color c);

    // Selection in characters; the caret sits at the end the user moved last.
    [[nodiscard]] int SelStart() const;
    [[nodiscard]] int SelLength() const;
    void SetSelStart(int pos);
    void SetSelLength(int length);
    void SelectAll();
    [[nodiscard]] std::string SelText() const;
    [[nodiscard]] int CaretPos() const { return static_cast<int>(caret_); }

    void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();
    // Deletes the selected text (nothing when none is selected).
    virtual void ClearSelection();

    // Types one character as if from the keyboard (tests and paste use it too).
    void TypeChar(char32_t ch) { KeyPress(ch); }

    std::function<void()> OnChange;
    // Sees every typed character first; setting it to 0 drops it.
    std::function<void(char32_t&)> OnKeyPress;

    void Paint(Canvas& canvas) override;
    bool MouseDown(const MouseEvent& e) override;
    bool MouseMove(Point pos, Modifiers mods) override;
    bool MouseUp(const MouseEvent& e) override;
    bool KeyDown(const KeyEvent& e) override;
    bool Char(char32_t ch) override;
    void FocusEnter(FocusReason reason) override;
    void FocusExit() override;
    void Resized() override;

protected:
    // The standard handling of a typed character: control characters for the clipboard,
    // select-all and Backspace; printable characters replace the selection.
    virtual void KeyPress(char32_t ch);
    // The Delete key.
    virtual void DeleteKey();

    // Replaces the text and puts the caret (no selection); fires the change notification.
    void ReplaceText(std::u32string text, std::size_t caret);
    // Inserts at the selection, within MaxLength.
    void InsertText(std::u32string_view insert);
    void SetCaret(std::size_t pos, bool extendSelection);
    // Change notifications held back between Hold and Release fire once at the release
    // (or are dropped with notify false).
    void HoldChange() { ++changeHold_; }
    void ReleaseChange(bool notify = true);
    void Changed();

private:
    [[nodiscard]] Rect TextRect() const;
    [[nodiscard]] int PrefixWidth(std::size_t count) const;
    [[nodiscard]] int TextOriginX() const;
    [[nodiscard]] std::size_t IndexAt(int x) const;
    void EnsureCaretVisible();
    void SelectWordAt(std::size_t pos);

    std::u32string text_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
    int scroll_ = 0;
    int maxLength_ = 0;
    bool readOnly_ = false;
    bool autoSelect_ = true;
    bool dragging_ = false;
    TextAlign alignment_ = TextAlign::Left;
    Font font_ = MakeFont("Segoe UI", 12);
    std::optional<Color> color_;
    std::optional<Color> fontColor_;
    int changeHold_ = 0;
    bool changePending_ = false;
};

} // namespace ostinel::gui
