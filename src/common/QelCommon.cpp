#include "common/QelCommon.h"

#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <limits>

namespace ostinel {

namespace {

constexpr std::array<std::string_view, 12> kPitchClassNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                               "F#", "G",  "G#", "A",  "A#", "B"};

// Shared by every plug-in instance in the process; one byte, no lock needed.
std::atomic<std::int8_t> gOctaveOffset{0};

template <typename Int> std::string FormatInteger(Int value, bool showPlus) {
    std::array<char, 24> buffer{};
    char* first = buffer.data();
    if (showPlus && value > 0)
        *first++ = '+';
    const auto result = std::to_chars(first, buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

constexpr int kSignificantDigits = 15;

} // namespace

std::string NoteName(int note) {
    if (note < 0)
        return {};
    return std::string(kPitchClassNames[static_cast<std::size_t>(note % 12)]);
}

int NoteOctave(int note) noexcept {
    return note / 12 + gOctaveOffset.load(std::memory_order_relaxed);
}

void SetOctaveOffset(std::int8_t offset) noexcept {
    gOctaveOffset.store(offset, std::memory_order_relaxed);
}

std::int8_t OctaveOffset() noexcept {
    return gOctaveOffset.load(std::memory_order_relaxed);
}

std::string FormatInt(std::int32_t value, bool showPlus) {
    return FormatInteger(value, showPlus);
}

std::string FormatInt64(std::int64_t value, bool showPlus) {
    return FormatInteger(value, showPlus);
}

std::string FormatSingle(float value, bool showPlus, char decimalSeparator) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? (showPlus ? "+INF" : "INF") : "-INF";
    if (value == 0.0F)
        return "0";

    // Scientific text of the exact widened value, rounded to 15 significant digits;
    // std::to_chars ignores the C locale, which a host may have changed.
    const double widened = static_cast<double>(value);
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), widened,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view scientific(buffer.data(),
                                      static_cast<std::size_t>(result.ptr - buffer.data()));

    // "-d.ddddddddddddddde-dd" -> sign, digit string, decimal exponent.
    const bool negative = scientific.front() == '-';
    std::string digits;
    std::size_t pos = negative ? 1 : 0;
    for (; pos < scientific.size() && scientific[pos] != 'e'; ++pos) {
        if (scientific[pos] != '.')
            digits.push_back(scientific[pos]);
    }
    int exponent = 0;
    std::from_chars(scientific.data() + pos + 1 + (scientific[pos + 1] == '+' ? 1 : 0),
                    scientific.data() + scientific.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string text;
    if (negative)
        text.push_back('-');
    else if (showPlus)
        text.push_back('+');

    if (exponent >= kSignificantDigits || exponent < -5) {
        text.push_back(digits.front());
        if (digits.size() > 1) {
            text.push_back(decimalSeparator);
            text.append(digits, 1);
        }
        text.push_back('E');
        text.append(FormatInt(exponent));
    } else if (exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            text.append(digits);
            text.append(integerDigits - digits.size(), '0');
        } else {
            text.append(digits, 0, integerDigits);
            text.push_back(decimalSeparator);
            text.append(digits, integerDigits);
        }
    } else {
        text.push_back('0');
        text.push_back(decimalSeparator);
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text.append(digits);
    }
    return text;
}

double FloorToMultiple(double value, double step) noexcept {
    if (step == 0.0)
        return value;
    return step * std::floor(value / step);
}

std::string DecadeRangeText(int value) {
    // 64-bit so that values near the int limits neither wrap nor overflow.
    const std::int64_t low = RoundDouble(FloorToMultiple(value, 10.0));
    const std::int64_t high = low + 9 > 127 ? 127 : low + 9;
    return FormatInt64(low) + " \u2013 " + FormatInt64(high);
}

std::string Choose(bool condition, std::string_view whenTrue, std::string_view whenFalse) {
    return std::string(condition ? whenTrue : whenFalse);
}

std::string GetDelimitedField(std::string_view text, int fieldNumber, std::string_view delimiter) {
    if (fieldNumber < 1)
        return {};
    std::string field;
    if (delimiter.empty()) {
        if (fieldNumber != 1)
            return {};
        field = text;
    } else {
        std::string work(text);
        if (!work.ends_with(delimiter))
            work.append(delimiter);
        bool inQuotes = false;
        int count = 0;
        std::size_t start = 0;
        bool found = false;
        for (std::size_t i = 0; i < work.size();) {
            if (work[i] == '"')
                inQuotes = !inQuotes;
            if (!inQuotes && work.compare(i, delimiter.size(), delimiter) == 0) {
                if (++count == fieldNumber) {
                    field = work.substr(start, i - start);
                    found = true;
                    break;
                }
                i += delimiter.size();
                start = i;
                continue;
            }
            ++i;
        }
        if (!found)
            return {};
    }
    if (field.starts_with('"'))
        field.erase(0, 1);
    if (field.ends_with('"'))
        field.pop_back();
    return field;
}

int CountOccurrences(std::string_view search, std::string_view text) {
    if (search.empty())
        return 0;
    int count = 0;
    for (std::size_t pos = text.find(search); pos != std::string_view::npos;
         pos = text.find(search, pos + search.size()))
        ++count;
    return count;
}

std::string SanitizeFileName(std::string_view name) {
    std::string result(name);
    for (char& c : result) {
        switch (c) {
        case '\\':
        case '/':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
            c = '_';
            break;
        default:
            break;
        }
    }
    return result;
}

std::string ExtractNameWithoutExt(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/:");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

} // namespace ostinel
