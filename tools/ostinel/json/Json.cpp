#include "json/Json.h"

#include <charconv>
#include <system_error>

namespace ostinel::cli::json {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
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

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {
        if (text_.starts_with("\xEF\xBB\xBF"))
            Advance(3);
    }

    Value Document() {
        SkipBlanks();
        Value value = ParseValue(0);
        SkipBlanks();
        if (pos_ < text_.size())
            Fail("unexpected text after the end of the document");
        return value;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const { throw JsonError(what, here_); }
    [[noreturn]] void FailAt(const std::string& what, Position where) const {
        throw JsonError(what, where);
    }

    // Moves over n bytes on one line.
    void Advance(std::size_t n) {
        pos_ += n;
        here_.column += n;
    }

    [[nodiscard]] bool AtEnd() const { return pos_ >= text_.size(); }
    [[nodiscard]] char Peek() const { return text_[pos_]; }

    void SkipBlanks() {
        while (!AtEnd()) {
            const char c = Peek();
            if (c == '\n') {
                ++pos_;
                ++here_.line;
                here_.column = 1;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                Advance(1);
            } else {
                break;
            }
        }
    }

    std::string Describe(char c) const {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F)
            return std::string("'") + c + "'";
        static const char* const kHex = "0123456789ABCDEF";
        return std::string("byte 0x") + kHex[u >> 4] + kHex[u & 15];
    }

    void Expect(char c, const char* context) {
        if (AtEnd())
            Fail(std::string("unexpected end of the document, expected '") + c + "' " + context);
        if (Peek() != c)
            Fail(std::string("expected '") + c + "' " + context + ", found " + Describe(Peek()));
        Advance(1);
    }

    Value ParseValue(std::size_t depth) {
        if (AtEnd())
            Fail("unexpected end of the document, expected a value");
        Value value;
        value.where = here_;
        const char c = Peek();
        if (c == '{' || c == '[') {
            if (depth >= kMaxDepth)
                Fail("nesting deeper than " + std::to_string(kMaxDepth) + " levels");
            if (c == '{')
                ParseObject(value, depth + 1);
            else
                ParseArray(value, depth + 1);
        } else if (c == '"') {
            value.kind = Kind::String;
            value.text = ParseString();
        } else if (c == '-' || IsDigit(c)) {
            ParseNumber(value);
        } else if (text_.substr(pos_).starts_with("true")) {
            value.kind = Kind::Boolean;
            value.boolean = true;
            Advance(4);
        } else if (text_.substr(pos_).starts_with("false")) {
            value.kind = Kind::Boolean;
            Advance(5);
        } else if (text_.substr(pos_).starts_with("null")) {
            Advance(4);
        } else {
            Fail("expected a value, found " + Describe(c));
        }
        return value;
    }

    void ParseObject(Value& value, std::size_t depth) {
        value.kind = Kind::Object;
        Advance(1);
        SkipBlanks();
        if (!AtEnd() && Peek() == '}') {
            Advance(1);
            return;
        }
        while (true) {
            SkipBlanks();
            if (AtEnd())
                Fail("unexpected end of the document inside an object");
            if (Peek() != '"')
                Fail("expected a key in double quotes, found " + Describe(Peek()));
            Member member;
            member.keyWhere = here_;
            member.key = ParseString();
            if (value.Find(member.key) != nullptr)
                FailAt("duplicate key " + Quote(member.key), member.keyWhere);
            SkipBlanks();
            Expect(':', "after a key");
            SkipBlanks();
            member.value = ParseValue(depth);
            value.members.push_back(std::move(member));
            SkipBlanks();
            if (AtEnd())
                Fail("unexpected end of the document, expected ',' or '}'");
            if (Peek() == ',') {
                Advance(1);
                continue;
            }
            if (Peek() == '}') {
                Advance(1);
                return;
            }
            Fail("expected ',' or '}' in an object, found " + Describe(Peek()));
        }
    }

    void ParseArray(Value& value, std::size_t depth) {
        value.kind = Kind::Array;
        Advance(1);
        SkipBlanks();
        if (!AtEnd() && Peek() == ']') {
            Advance(1);
            return;
        }
        while (true) {
            SkipBlanks();
            value.items.push_back(ParseValue(depth));
            SkipBlanks();
            if (AtEnd())
                Fail("unexpected end of the document, expected ',' or ']'");
            if (Peek() == ',') {
                Advance(1);
                continue;
            }
            if (Peek() == ']') {
                Advance(1);
                return;
            }
            Fail("expected ',' or ']' in an array, found " + Describe(Peek()));
        }
    }

    unsigned ParseHex4() {
        if (text_.size() - pos_ < 4)
            Fail("unexpected end of the document in a \\u escape");
        unsigned v = 0;
        for (int k = 0; k < 4; ++k) {
            const int h = HexValue(Peek());
            if (h < 0)
                Fail("expected a hexadecimal digit in a \\u escape, found " + Describe(Peek()));
            v = v * 16 + static_cast<unsigned>(h);
            Advance(1);
        }
        return v;
    }

    std::string ParseString() {
        const Position start = here_;
        Advance(1); // opening quote
        std::string out;
        while (true) {
            if (AtEnd())
                FailAt("string not closed before the end of the document", start);
            const char c = Peek();
            const auto u = static_cast<unsigned char>(c);
            if (c == '"') {
                Advance(1);
                return out;
            }
            if (u < 0x20)
                Fail("control character " + Describe(c) + " in a string (write it as an escape)");
            if (c == '\\') {
                ParseEscape(out);
                continue;
            }
            const std::size_t length = Utf8SequenceLength(text_, pos_);
            if (length == 0)
                Fail("invalid UTF-8 (" + Describe(c) + ") in a string");
            out.append(text_.substr(pos_, length));
            Advance(length);
        }
    }

    void ParseEscape(std::string& out) {
        const Position escape = here_;
        Advance(1);
        if (AtEnd())
            Fail("unexpected end of the document in an escape");
        const char e = Peek();
        Advance(1);
        switch (e) {
        case '"':
        case '\\':
        case '/':
            out += e;
            return;
        case 'b':
            out += '\b';
            return;
        case 'f':
            out += '\f';
            return;
        case 'n':
            out += '\n';
            return;
        case 'r':
            out += '\r';
            return;
        case 't':
            out += '\t';
            return;
        case 'u':
            break;
        default:
            FailAt("unknown escape \\" + std::string(1, e), escape);
        }
        char32_t cp = ParseHex4();
        if (cp >= 0xDC00 && cp <= 0xDFFF)
            FailAt("\\u escape of a low surrogate without a high surrogate before it", escape);
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (!text_.substr(pos_).starts_with("\\u"))
                FailAt("\\u escape of a high surrogate without a low surrogate after it", escape);
            Advance(2);
            const char32_t low = ParseHex4();
            if (low < 0xDC00 || low > 0xDFFF)
                FailAt("\\u escape of a high surrogate without a low surrogate after it", escape);
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        }
        AppendUtf8(out, cp);
    }

    void ParseNumber(Value& value) {
        const std::size_t begin = pos_;
        if (Peek() == '-')
            Advance(1);
        if (AtEnd() || !IsDigit(Peek()))
            Fail("expected a digit in a number");
        if (Peek() == '0') {
            Advance(1);
            if (!AtEnd() && IsDigit(Peek()))
                Fail("a number may not start with 0 followed by digits");
        } else {
            while (!AtEnd() && IsDigit(Peek()))
                Advance(1);
        }
        if (!AtEnd() && Peek() == '.') {
            Advance(1);
            if (AtEnd() || !IsDigit(Peek()))
                Fail("expected a digit after the decimal point");
            while (!AtEnd() && IsDigit(Peek()))
                Advance(1);
        }
        if (!AtEnd() && (Peek() == 'e' || Peek() == 'E')) {
            Advance(1);
            if (!AtEnd() && (Peek() == '+' || Peek() == '-'))
                Advance(1);
            if (AtEnd() || !IsDigit(Peek()))
                Fail("expected a digit in the exponent");
            while (!AtEnd() && IsDigit(Peek()))
                Advance(1);
        }
        value.kind = Kind::Number;
        value.text = std::string(text_.substr(begin, pos_ - begin));
        const char* first = value.text.data();
        const char* last = first + value.text.size();
        const auto [end, error] = std::from_chars(first, last, value.number);
        if (error == std::errc::result_out_of_range)
            FailAt("number " + value.text + " is out of range", value.where);
        if (error != std::errc() || end != last)
            FailAt("number " + value.text + " cannot be read", value.where);
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    Position here_;
};

} // namespace

std::string Describe(Position where) {
    return "line " + std::to_string(where.line) + ", column " + std::to_string(where.column);
}

JsonError::JsonError(const std::string& what, Position where)
    : Error(Describe(where) + ": " + what), where_(where) {}

const char* KindName(Kind kind) {
    switch (kind) {
    case Kind::Null:
        return "null";
    case Kind::Boolean:
        return "true or false";
    case Kind::Number:
        return "a number";
    case Kind::String:
        return "a string";
    case Kind::Array:
        return "an array";
    case Kind::Object:
        return "an object";
    }
    return "a value";
}

const Value* Value::Find(std::string_view key) const {
    for (const Member& member : members)
        if (member.key == key)
            return &member.value;
    return nullptr;
}

Value Parse(std::string_view text) {
    return Parser(text).Document();
}

std::string Quote(std::string_view text) {
    static const char* const kHex = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20 || u == 0x7F) {
                out += "\\u00";
                out += kHex[u >> 4];
                out += kHex[u & 15];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

} // namespace ostinel::cli::json
