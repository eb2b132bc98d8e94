#include "gui/controls/QelNumericEdit.h"

#include "gui/skins/Skin.h"
#include "gui/widgets/WidgetRoot.h"
#include "platform/System.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace ostinel::gui {

namespace {

constexpr int kBorderHeight = 1;

bool IsDigit(char32_t ch) {
    return ch >= U'0' && ch <= U'9';
}

} // namespace

TQelNumericEdit::TQelNumericEdit()
    : decimalSeparator_(static_cast<unsigned char>(platform::DecimalSeparator())) {
    SetAlignment(TextAlign::Right);
    SetText("0");
}

int TQelNumericEdit::MinimumHeight() const {
    const int fontHeight = GetFontMetrics(TextFont()).height;
    const int systemHeight = GetFontMetrics(MakeFont("Segoe UI", 12)).height;
    return 4 * kBorderHeight + fontHeight + std::min(fontHeight, systemHeight) / 4 + 2;
}

void TQelNumericEdit::Resized() {
    if (Height() < MinimumHeight()) {
        SetSize(Width(), MinimumHeight());
        return;
    }
    TEdit::Resized();
}

void TQelNumericEdit::Loaded() {
    if (Height() < MinimumHeight()) {
        SetSize(Width(), MinimumHeight());
    }
}

bool TQelNumericEdit::HasMinus() const {
    return CodePoints().find(U'-') != std::u32string::npos;
}

double TQelNumericEdit::Value() const {
    const std::string text = Text();
    double value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || !std::isfinite(value)) {
        return 0;
    }
    return value;
}

void TQelNumericEdit::SetValue(double value) {
    constexpr double kLimit = 9.2e18;
    if (!std::isfinite(value)) {
        value = 0;
    }
    value = std::clamp(value, -kLimit, kLimit);
    const long long whole = std::llround(value);
    // Forms set values while they are built; nobody is to hear about those.
    HoldChange();
    SetText(std::to_string(whole));
    ReleaseChange(IsLoaded());
}

// ---- Deleting --------------------------------------------------------------------------

void TQelNumericEdit::DeleteCharAt(int p) {
    std::u32string text = CodePoints();
    const int n = static_cast<int>(text.size());
    if (p <= 0 || p >= n + 1) {
        return;
    }
    if (p == 2 && n == 2 && HasMinus()) {
        ReplaceText(U"-0", 1);
    } else if (p == 1 && n == 1) {
        ReplaceText(U"0", 1);
    } else {
        text.erase(static_cast<std::size_t>(p - 1), 1);
        ReplaceText(std::move(text), static_cast<std::size_t>(p - 1));
    }
}

void TQelNumericEdit::ClearSelection() {
    if (ReadOnly() || SelLength() == 0) {
        return;
    }
    const int count = SelLength();
    HoldChange();
    SetCaret(static_cast<std::size_t>(SelStart() + count), false);
    for (int i = 0; i < count; ++i) {
        DeleteCharAt(CaretPos());
    }
    Changed(); // once for the whole selection
    ReleaseChange();
}

void TQelNumericEdit::DeleteKey() {
    if (ReadOnly()) {
        return;
    }
    if (SelLength() > 0) {
        ClearSelection();
    } else {
        DeleteCharAt(CaretPos() + 1);
    }
}

// ---- Typing ----------------------------------------------------------------------------

bool TQelNumericEdit::KeyDown(const KeyEvent& e) {
    if (e.key == platform::Key::LetterA && e.mods.ctrl && !e.mods.shift && !e.mods.alt) {
        selectAllPending_ = true;
    }
    return TEdit::KeyDown(e);
}

void TQelNumericEdit::KeyPress(char32_t ch) {
    // 1. Ctrl+A: the character that follows it selects everything.
    if (selectAllPending_) {
        selectAllPending_ = false;
        SelectAll();
        return;
    }
    // 2. Enter and Escape belong to the dialog (they arrive as key-downs and bubble there).
    if (ch == U'\r' || ch == 0x1B) {
        return;
    }
    // 3.
    if (OnKeyPress) {
        OnKeyPress(ch);
    }
    if (ReadOnly()) {
        TEdit::KeyPress(ch);
        return;
    }
    // 4. Clipboard characters and NUL take the standard path (Cut/Paste below apply the rules).
    if (ch == ctrlchar::Copy || ch == ctrlchar::Paste || ch == ctrlchar::Cut || ch == 0) {
        TEdit::KeyPress(ch);
        return;
    }
    // 5.
    if (ch == decimalSeparator_) {
        SetSelLength(0);
    } else if (SelLength() > 0) {
        ClearSelection();
        if (ch == ctrlchar::Backspace) {
            return;
        }
    }
    // 6.
    const bool hadMinus = HasMinus();
    // 7.
    bool dropped = !(ch == ctrlchar::Backspace || ch == U'-' || IsDigit(ch));
    // 8.
    if (ch == U'0' && CaretPos() == 0) {
        dropped = true;
    }
    // 9.
    if (ch == U'-') {
        if (minValue_ < 0) {
            std::u32string text = CodePoints();
            const std::size_t caret = static_cast<std::size_t>(CaretPos());
            if (hadMinus) {
                text.erase(0, 1);
                ReplaceText(std::move(text), caret > 0 ? caret - 1 : 0);
            } else {
                text.insert(text.begin(), U'-');
                ReplaceText(std::move(text), caret + 1);
            }
        }
        dropped = true;
    }
    // 10.
    if (hadMinus && CaretPos() == 0) {
        SetSelStart(1);
    }
    // 11.
    if (dropped) {
        return;
    }
    // 12.
    if (ch == ctrlchar::Backspace) {
        DeleteCharAt(CaretPos());
        return;
    }
    // 13.
    const std::u32string& text = CodePoints();
    const int c = CaretPos();
    if (c <= 2 && hadMinus && text.size() >= 2 && text[1] == U'0') {
        ReplaceText(std::u32string(U"-") + ch, 2);
    } else if (c <= 1 && !text.empty() && text[0] == U'0') {
        ReplaceText(std::u32string(1, ch), 1);
    } else {
        TEdit::KeyPress(ch);
    }
}

void TQelNumericEdit::PasteFromClipboard() {
    WidgetRoot* root = Root();
    if (ReadOnly() || root == nullptr || root->Clipboard() == nullptr) {
        return;
    }
    const std::optional<std::string> text = root->Clipboard()->GetText();
    if (!text) {
        return;
    }
    ClearSelection();
    selectAllPending_ = false;
    for (const char32_t ch : ToCodePoints(*text)) {
        KeyPress(ch);
    }
}

void TQelNumericEdit::CutToClipboard() {
    if (ReadOnly()) {
        return;
    }
    CopyToClipboard();
    ClearSelection();
}

void TQelNumericEdit::FocusExit() {
    if (minValue_ != maxValue_) {
        const double v = Value();
        if (v < minValue_) {
            SetValue(minValue_);
        } else if (v > maxValue_) {
            SetValue(maxValue_);
        }
    }
    TEdit::FocusExit();
}

} // namespace ostinel::gui
