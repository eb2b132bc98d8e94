#pragma once
// An edit box for whole numbers: it accepts only digits and a minus sign and keeps the text a
// valid number while the user types (a leading zero is replaced, deleting the last digit
// leaves "0", "-" toggles the sign when negatives are allowed). Leaving the box clamps the
// value into MinValue..MaxValue when they differ.
#include "gui/controls/Edit.h"

#include <cstdint>

namespace ostinel::gui {

class TQelNumericEdit : public TEdit {
public:
    TQelNumericEdit();

    // Only 0 (whole numbers) is supported; other values are stored and shown as 0 decimals.
    [[nodiscard]] std::int8_t Decimals() const { return decimals_; }
    void SetDecimals(std::int8_t decimals) { decimals_ = decimals; }
    [[nodiscard]] double MinValue() const { return minValue_; }
    void SetMinValue(double v) { minValue_ = v; }
    [[nodiscard]] double MaxValue() const { return maxValue_; }
    void SetMaxValue(double v) { maxValue_ = v; }
    // The text as a number: empty or unreadable text reads as 0.
    [[nodiscard]] double Value() const;
    // Writes the number in the display format ("0"); no change notification before Loaded.
    void SetValue(double value);
    // The locale's decimal separator (dropped when typed). Defaults to the platform's.
    void SetDecimalSeparator(char32_t separator) { decimalSeparator_ = separator; }

    // Never lower than the platform's formula: 4 x border + font height + a quarter of the
    // smaller of the font's and the system font's heights + 2.
    [[nodiscard]] int MinimumHeight() const;

    bool KeyDown(const KeyEvent& e) override;
    void FocusExit() override;
    void CutToClipboard() override;
    void PasteFromClipboard() override;
    void ClearSelection() override;
    void Resized() override;
    void Loaded() override;

protected:
    void KeyPress(char32_t ch) override;
    void DeleteKey() override;

private:
    // Deletes the character at 1-based position p by the number rules.
    void DeleteCharAt(int p);
    [[nodiscard]] bool HasMinus() const;

    std::int8_t decimals_ = 0;
    double minValue_ = 0;
    double maxValue_ = 0;
    bool selectAllPending_ = false;
    char32_t decimalSeparator_;
};

} // namespace ostinel::gui
