#include "json/SyntaxError.h"

#include <algorithm>
#include <string>

namespace ostinel::cli::json {

namespace {

constexpr int kNumberOverflow = 406;

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string DescribeByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F)
        return std::string("'") + c + "'";
    static const char* const kHex = "0123456789ABCDEF";
    return std::string("byte 0x") + kHex[u >> 4] + kHex[u & 15];
}

// Length of the well-formed UTF-8 sequence at text[i], or 0.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    unsigned char lo = 0x80, hi = 0xBF; // range of the second byte
    if (b0 < 0x80)
        return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        lo = b0 == 0xE0 ? 0xA0 : 0x80;
        hi = b0 == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        lo = b0 == 0xF0 ? 0x90 : 0x80;
        hi = b0 == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() - i < length)
        return 0;
    const auto b1 = static_cast<unsigned char>(text[i + 1]);
    if (b1 < lo || b1 > hi)
        return 0;
    for (std::size_t k = 2; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if (b < 0x80 || b > 0xBF)
            return 0;
    }
    return length;
}

unsigned Hex4(std::string_view text, std::size_t at) {
    unsigned v = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const char c = text[at + k];
        v = v * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    }
    return v;
}

bool IsEscapeU(std::string_view text, std::size_t at) {
    if (text.size() < at + 6 || text[at] != '\\' || text[at + 1] != 'u')
        return false;
    for (std::size_t k = 2; k < 6; ++k)
        if (!IsHex(text[at + k]))
            return false;
    return true;
}

// The first ill-formed UTF-8 sequence of the string token starting at `start`.
std::size_t BadUtf8(std::string_view text, std::size_t start, std::size_t limit) {
    for (std::size_t i = start + 1; i < limit;) {
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0)
            return i;
        i += length;
    }
    return limit;
}

// The \u escape of the high surrogate whose pair is broken at `bad`: the last one that starts a
// pair (its low half read with it) before `bad`.
std::size_t BrokenPairStart(std::string_view text, std::size_t start, std::size_t bad) {
    std::size_t found = start;
    for (std::size_t i = start + 1; i < bad && i < text.size();) {
        if (text[i] != '\\') {
            ++i;
        } else if (IsEscapeU(text, i)) {
            const unsigned cp = Hex4(text, i + 2);
            if (cp >= 0xD800 && cp <= 0xDBFF) {
                found = i;
                i += text.substr(i + 6).starts_with("\\u") ? 12 : 6;
            } else {
                i += 6;
            }
        } else {
            i += 2;
        }
    }
    return found;
}

enum class Wanted : std::uint8_t { Value, Key, Other };

// What kind of token the grammar takes next.
Wanted WantedNext(const ParseContext& context, bool separatorTaken) {
    using Container = ParseContext::Container;
    using Last = ParseContext::Last;
    switch (context.container) {
    case Container::None:
        return context.last == Last::Value ? Wanted::Other : Wanted::Value;
    case Container::Array:
        return context.last == Last::Open || separatorTaken ? Wanted::Value : Wanted::Other;
    case Container::Object:
        if (context.last == Last::Key)
            return separatorTaken ? Wanted::Value : Wanted::Other;
        return context.last == Last::Open || separatorTaken ? Wanted::Key : Wanted::Other;
    }
    return Wanted::Other;
}

// What the grammar wanted at the token that the parser could not take.
std::string Expected(const ParseContext& context, bool separatorTaken, bool atEnd,
                     const std::string& found) {
    using Container = ParseContext::Container;
    using Last = ParseContext::Last;
    const std::string value = atEnd ? "unexpected end of the document, expected a value"
                                    : "expected a value, found " + found;
    switch (context.container) {
    case Container::None:
        return context.last == Last::Value ? "unexpected text after the end of the document"
                                           : value;
    case Container::Array:
        if (context.last == Last::Open || separatorTaken)
            return value;
        return atEnd ? "unexpected end of the document, expected ',' or ']'"
                     : "expected ',' or ']' in an array, found " + found;
    case Container::Object:
        if (context.last == Last::Key) {
            if (separatorTaken)
                return value;
            return atEnd ? "unexpected end of the document, expected ':' after a key"
                         : "expected ':' after a key, found " + found;
        }
        if (context.last == Last::Open || separatorTaken)
            return atEnd ? "unexpected end of the document inside an object"
                         : "expected a key in double quotes, found " + found;
        return atEnd ? "unexpected end of the document, expected ',' or '}'"
                     : "expected ',' or '}' in an object, found " + found;
    }
    return value;
}

} // namespace

JsonError TranslateSyntaxError(const SourceCursor& cursor, const ParseContext& context,
                               const ParserReport& report) {
    const std::string_view text = cursor.Text();
    const std::size_t size = text.size();
    // The byte the parser failed on (the end of the document counts as one byte).
    const std::size_t bad = report.position > 0 ? report.position - 1 : 0;
    const auto at = [&](const std::string& what, std::size_t offset) {
        return JsonError(what, cursor.PositionAt(std::min(offset, size)));
    };

    // The token the parser was reading: after blanks and a separator it took.
    SourceCursor token = cursor;
    token.SkipBlanks();
    bool separatorTaken = false;
    if (token.IsSeparatorAt(token.Offset()) && token.Offset() < bad) {
        separatorTaken = true;
        token.MoveTo(token.Offset() + 1);
        token.SkipBlanks();
    }
    const std::size_t start = token.Offset();
    const bool atEnd = start >= size;
    const std::string found = atEnd ? std::string() : DescribeByte(text[start]);
    const std::string_view message = report.message;
    const std::string badByte = bad < size ? DescribeByte(text[bad]) : "the end of the document";

    // The parser reads a token before it asks whether one may stand here: a bad string or
    // number where none belongs is reported as the token in the wrong place.
    const Wanted wanted = WantedNext(context, separatorTaken);
    const bool stringWanted = wanted == Wanted::Value || wanted == Wanted::Key;
    if (report.id == kNumberOverflow && wanted == Wanted::Value) {
        const std::string number(text.substr(start, token.NumberEnd(start) - start));
        return at("number " + number + " is out of range", start);
    }
    if (stringWanted && Contains(message, "invalid string:")) {
        if (Contains(message, "missing closing quote"))
            return at("string not closed before the end of the document", start);
        if (Contains(message, "control character"))
            return at("control character " + badByte + " in a string (write it as an escape)", bad);
        if (Contains(message, "after backslash")) {
            if (bad >= size)
                return at("unexpected end of the document in an escape", size);
            return at("unknown escape \\" + std::string(1, text[bad]), bad - 1);
        }
        if (Contains(message, "4 hex digits")) {
            std::size_t digits = bad;
            while (digits > start && text[digits - 1] != 'u')
                --digits;
            if (size - digits < 4)
                return at("unexpected end of the document in a \\u escape", digits);
            return at("expected a hexadecimal digit in a \\u escape, found " + badByte, bad);
        }
        if (Contains(message, "must be followed by"))
            return at("\\u escape of a high surrogate without a low surrogate after it",
                      BrokenPairStart(text, start, bad));
        if (Contains(message, "must follow"))
            return at("\\u escape of a low surrogate without a high surrogate before it",
                      bad >= 5 ? bad - 5 : start);
        if (Contains(message, "UTF-8")) {
            const std::size_t lead = BadUtf8(text, start, std::min(bad + 1, size));
            return at("invalid UTF-8 (" + (lead < size ? DescribeByte(text[lead]) : "end") +
                          ") in a string",
                      lead);
        }
    }
    if (wanted == Wanted::Value && Contains(message, "invalid number;")) {
        if (Contains(message, "after '-'"))
            return at("expected a digit in a number", bad);
        if (Contains(message, "after '.'"))
            return at("expected a digit after the decimal point", bad);
        return at("expected a digit in the exponent", bad);
    }
    // A token in the wrong place (or none the grammar knows): a 0 followed by digits reads as
    // two numbers to the parser.
    if (context.lastWasZero && !separatorTaken && start == cursor.Offset() && !atEnd &&
        text[start] >= '0' && text[start] <= '9')
        return at("a number may not start with 0 followed by digits", start);
    return at(Expected(context, separatorTaken, atEnd, found), start);
}

} // namespace ostinel::cli::json
