#include "gui/controls/Edit.h"

#include "gui/skins/Skin.h"
#include "gui/widgets/WidgetRoot.h"

#include <algorithm>
#include <cstdlib>

namespace ostinel::gui {

namespace {

constexpr int kPadding = 4; // border plus inner margin, left and right

bool IsBlank(char32_t ch) {
    return ch == U' ' || ch == U'\t';
}

} // namespace

TEdit::TEdit() {
    SetSize(121, 23);
    SetFocusable(true);
    SetTabStop(true);
    SetCursor(Cursor::IBeam);
}

void TEdit::SetText(std::string_view text) {
    std::u32string cps = ToCodePoints(text);
    std::erase_if(cps, [](char32_t ch) { return ch == U'\r' || ch == U'\n'; });
    const std::size_t end = cps.size();
    ReplaceText(std::move(cps), end);
}

void TEdit::SetReadOnly(bool on) {
    readOnly_ = on;
    Invalidate();
}

void TEdit::SetAlignment(TextAlign a) {
    alignment_ = a;
    EnsureCaretVisible();
    Invalidate();
}

void TEdit::SetTextFont(const Font& font) {
    font_ = font;
    EnsureCaretVisible();
    Invalidate();
}

Color TEdit::FaceColor() const {
    if (!IsEnabledInTree() || readOnly_) {
        return ActiveSkin().ButtonDisabled.Face;
    }
    return color_.value_or(ActiveSkin().EditFace);
}

void TEdit::SetColor(Color c) {
    color_ = c;
    Invalidate();
}

Color TEdit::FontColor() const {
    if (!IsEnabledInTree()) {
        return ActiveSkin().ButtonDisabled.Text;
    }
    return fontColor_.value_or(ActiveSkin().EditText);
}

void TEdit::SetFontColor(Color c) {
    fontColor_ = c;
    Invalidate();
}

// ---- Selection -------------------------------------------------------------------------

int TEdit::SelStart() const {
    return static_cast<int>(std::min(caret_, anchor_));
}

int TEdit::SelLength() const {
    return static_cast<int>(caret_ > anchor_ ? caret_ - anchor_ : anchor_ - caret_);
}

void TEdit::SetSelStart(int pos) {
    SetCaret(static_cast<std::size_t>(std::clamp(pos, 0, static_cast<int>(text_.size()))), false);
}

void TEdit::SetSelLength(int length) {
    const std::size_t start = static_cast<std::size_t>(SelStart());
    anchor_ = start;
    caret_ = std::min(text_.size(), start + static_cast<std::size_t>(std::max(0, length)));
    EnsureCaretVisible();
    Invalidate();
}

void TEdit::SelectAll() {
    anchor_ = 0;
    caret_ = text_.size();
    EnsureCaretVisible();
    Invalidate();
}

std::string TEdit::SelText() const {
    return ToUtf8(std::u32string_view(text_).substr(static_cast<std::size_t>(SelStart()),
                                                    static_cast<std::size_t>(SelLength())));
}

void TEdit::SetCaret(std::size_t pos, bool extendSelection) {
    caret_ = std::min(pos, text_.size());
    if (!extendSelection) {
        anchor_ = caret_;
    }
    EnsureCaretVisible();
    Invalidate();
}

// ---- Editing ---------------------------------------------------------------------------

void TEdit::Changed() {
    if (changeHold_ > 0) {
        changePending_ = true;
        return;
    }
    if (OnChange) {
        OnChange();
    }
}

void TEdit::ReleaseChange(bool notify) {
    if (changeHold_ > 0 && --changeHold_ == 0 && changePending_) {
        changePending_ = false;
        if (notify) {
            Changed();
        }
    }
}

void TEdit::ReplaceText(std::u32string text, std::size_t caret) {
    const bool changed = text != text_;
    text_ = std::move(text);
    caret_ = anchor_ = std::min(caret, text_.size());
    EnsureCaretVisible();
    Invalidate();
    if (changed) {
        Changed();
    }
}

void TEdit::InsertText(std::u32string_view insert) {
    if (readOnly_) {
        return;
    }
    const std::size_t start = static_cast<std::size_t>(SelStart());
    const std::size_t length = static_cast<std::size_t>(SelLength());
    std::u32string text = text_;
    text.erase(start, length);
    std::size_t room = insert.size();
    if (maxLength_ > 0) {
        const std::size_t limit = static_cast<std::size_t>(maxLength_);
        room = text.size() >= limit ? 0 : std::min(room, limit - text.size());
    }
    if (room == 0 && length == 0) {
        return; // full: the character is refused
    }
    text.insert(start, insert.substr(0, room));
    ReplaceText(std::move(text), start + room);
}

void TEdit::ClearSelection() {
    if (readOnly_ || SelLength() == 0) {
        return;
    }
    std::u32string text = text_;
    const std::size_t start = static_cast<std::size_t>(SelStart());
    text.erase(start, static_cast<std::size_t>(SelLength()));
    ReplaceText(std::move(text), start);
}

void TEdit::CopyToClipboard() {
    WidgetRoot* root = Root();
    if (root != nullptr && root->Clipboard() != nullptr && SelLength() > 0) {
        root->Clipboard()->SetText(SelText());
    }
}

void TEdit::CutToClipboard() {
    if (readOnly_) {
        return;
    }
    CopyToClipboard();
    ClearSelection();
}

void TEdit::PasteFromClipboard() {
    WidgetRoot* root = Root();
    if (readOnly_ || root == nullptr || root->Clipboard() == nullptr) {
        return;
    }
    const std::optional<std::string> text = root->Clipboard()->GetText();
    if (!text) {
        return;
    }
    std::u32string cps = ToCodePoints(*text);
    // A single line takes the clipboard text up to its first line break.
    const std::size_t end = cps.find_first_of(U"\r\n");
    if (end != std::u32string::npos) {
        cps.resize(end);
    }
    InsertText(cps);
}

void TEdit::KeyPress(char32_t ch) {
    if (OnKeyPress) {
        OnKeyPress(ch);
    }
    switch (ch) {
    case 0:
        return;
    case ctrlchar::SelectAll:
        SelectAll();
        return;
    case ctrlchar::Copy:
        CopyToClipboard();
        return;
    case ctrlchar::Paste:
        PasteFromClipboard();
        return;
    case ctrlchar::Cut:
        CutToClipboard();
        return;
    case ctrlchar::Backspace:
        if (readOnly_) {
            return;
        }
        if (SelLength() > 0) {
            ClearSelection();
        } else if (caret_ > 0) {
            std::u32string text = text_;
            text.erase(caret_ - 1, 1);
            ReplaceText(std::move(text), caret_ - 1);
        }
        return;
    default:
        break;
    }
    if (ch < 0x20 || ch == 0x7F) {
        return;
    }
    InsertText(std::u32string_view(&ch, 1));
}

void TEdit::DeleteKey() {
    if (readOnly_) {
        return;
    }
    if (SelLength() > 0) {
        ClearSelection();
    } else if (caret_ < text_.size()) {
        std::u32string text = text_;
        text.erase(caret_, 1);
        ReplaceText(std::move(text), caret_);
    }
}

// ---- Input -----------------------------------------------------------------------------

bool TEdit::KeyDown(const KeyEvent& e) {
    namespace K = platform::Key;
    const bool shift = e.mods.shift;
    const bool ctrl = e.mods.ctrl;
    if (e.mods.alt) {
        return false;
    }
    auto wordLeft = [this] {
        std::size_t p = caret_;
        while (p > 0 && IsBlank(text_[p - 1])) {
            --p;
        }
        while (p > 0 && !IsBlank(text_[p - 1])) {
            --p;
        }
        return p;
    };
    auto wordRight = [this] {
        std::size_t p = caret_;
        while (p < text_.size() && !IsBlank(text_[p])) {
            ++p;
        }
        while (p < text_.size() && IsBlank(text_[p])) {
            ++p;
        }
        return p;
    };
    switch (e.key) {
    case K::Left:
        if (!shift && SelLength() > 0 && !ctrl) {
            SetCaret(static_cast<std::size_t>(SelStart()), false);
        } else {
            SetCaret(ctrl ? wordLeft() : (caret_ > 0 ? caret_ - 1 : 0), shift);
        }
        return true;
    case K::Right:
        if (!shift && SelLength() > 0 && !ctrl) {
            SetCaret(static_cast<std::size_t>(SelStart() + SelLength()), false);
        } else {
            SetCaret(ctrl ? wordRight() : caret_ + 1, shift);
        }
        return true;
    case K::Home:
        SetCaret(0, shift);
        return true;
    case K::End:
        SetCaret(text_.size(), shift);
        return true;
    case K::Delete:
        if (shift) {
            KeyPress(ctrlchar::Cut);
        } else {
            DeleteKey();
        }
        return true;
    case K::Insert:
        if (ctrl) {
            KeyPress(ctrlchar::Copy);
        } else if (shift) {
            KeyPress(ctrlchar::Paste);
        }
        return true;
    case K::Back:
        KeyPress(ctrlchar::Backspace);
        return true;
    default:
        break;
    }
    if (ctrl && !shift) {
        switch (e.key) {
        case K::LetterA:
            KeyPress(ctrlchar::SelectAll);
            return true;
        case K::LetterA + ('C' - 'A'):
            KeyPress(ctrlchar::Copy);
            return true;
        case K::LetterA + ('V' - 'A'):
            KeyPress(ctrlchar::Paste);
            return true;
        case K::LetterA + ('X' - 'A'):
            KeyPress(ctrlchar::Cut);
            return true;
        default:
            break;
        }
    }
    return false;
}

bool TEdit::Char(char32_t ch) {
    KeyPress(ch);
    return true;
}

bool TEdit::MouseDown(const MouseEvent& e) {
    SetFocus(FocusReason::Mouse); // also brings the window's focus back from the host
    if (e.button == MouseButton::Left) {
        const std::size_t index = IndexAt(e.pos.x);
        if (e.doubleClick) {
            SelectWordAt(index);
        } else {
            SetCaret(index, e.mods.shift);
            dragging_ = true;
        }
    }
    Widget::MouseDown(e);
    return true;
}

bool TEdit::MouseMove(Point pos, Modifiers mods) {
    if (dragging_) {
        SetCaret(IndexAt(pos.x), true);
    }
    return Widget::MouseMove(pos, mods);
}

bool TEdit::MouseUp(const MouseEvent& e) {
    if (e.button == MouseButton::Left) {
        dragging_ = false;
    }
    Widget::MouseUp(e);
    return true;
}

void TEdit::SelectWordAt(std::size_t pos) {
    std::size_t start = std::min(pos, text_.size());
    std::size_t end = start;
    while (start > 0 && !IsBlank(text_[start - 1])) {
        --start;
    }
    while (end < text_.size() && !IsBlank(text_[end])) {
        ++end;
    }
    anchor_ = start;
    caret_ = end;
    EnsureCaretVisible();
    Invalidate();
}

void TEdit::FocusEnter(FocusReason reason) {
    if (autoSelect_ && reason != FocusReason::Mouse) {
        SelectAll();
    }
    Invalidate();
}

void TEdit::FocusExit() {
    dragging_ = false;
    Invalidate();
}

void TEdit::Resized() {
    EnsureCaretVisible();
    Widget::Resized();
}

// ---- Layout and painting ---------------------------------------------------------------

Rect TEdit::TextRect() const {
    return {kPadding, 1, Width() - kPadding, Height() - 1};
}

int TEdit::PrefixWidth(std::size_t count) const {
    return TextWidth(font_, ToUtf8(std::u32string_view(text_).substr(0, count)));
}

int TEdit::TextOriginX() const {
    const Rect r = TextRect();
    const int width = PrefixWidth(text_.size());
    if (width <= r.Width()) {
        switch (alignment_) {
        case TextAlign::Right:
            return r.right - width;
        case TextAlign::Center:
            return r.left + (r.Width() - width) / 2;
        case TextAlign::Left:
            break;
        }
        return r.left;
    }
    return r.left - scroll_;
}

std::size_t TEdit::IndexAt(int x) const {
    const int origin = TextOriginX();
    std::size_t best = 0;
    int bestDistance = std::abs(x - origin);
    for (std::size_t i = 1; i <= text_.size(); ++i) {
        const int d = std::abs(x - (origin + PrefixWidth(i)));
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

void TEdit::EnsureCaretVisible() {
    const Rect r = TextRect();
    const int total = PrefixWidth(text_.size());
    if (total <= r.Width()) {
        scroll_ = 0;
        return;
    }
    const int caretX = PrefixWidth(caret_);
    if (caretX - scroll_ > r.Width() - 1) {
        scroll_ = caretX - r.Width() + 1;
    } else if (caretX - scroll_ < 0) {
        scroll_ = caretX;
    }
    scroll_ = std::clamp(scroll_, 0, std::max(0, total - r.Width() + 1));
}

void TEdit::Paint(Canvas& canvas) {
    const TSkin& skin = ActiveSkin();
    const bool focused = HasFocus();
    const Color border = focused && !readOnly_ ? skin.EditFocusBorder : skin.EditBorder;
    canvas.FillRoundRectWithBorder(ClientRect(), 2.0f, 1.0f, FaceColor(), border);

    const Rect r = TextRect();
    const ClipScope clip(canvas, r);
    const FontMetrics m = GetFontMetrics(font_);
    const std::string text = ToUtf8(text_);
    const int x = TextOriginX();
    const int top = TextOriginInRect(font_, text, r, TextAlign::Left).y;
    DrawText(canvas, font_, text, x, top, FontColor());

    if (focused && SelLength() > 0) {
        const int x0 = x + PrefixWidth(static_cast<std::size_t>(SelStart()));
        const int x1 = x + PrefixWidth(static_cast<std::size_t>(SelStart() + SelLength()));
        const Rect sel{x0, std::max(r.top + 1, top - 1), x1,
                       std::min(r.bottom - 1, top + m.height + 1)};
        canvas.FillRect(sel, skin.SelectionFace);
        const ClipScope selClip(canvas, sel);
        DrawText(canvas, font_, text, x, top, skin.SelectionText);
    }
    if (focused) {
        const int cx = x + PrefixWidth(caret_);
        canvas.VLine(std::min(cx, r.right - 1), std::max(r.top + 1, top - 1),
                     std::min(r.bottom - 1, top + m.height + 1), FontColor());
    }
}

} // namespace ostinel::gui
