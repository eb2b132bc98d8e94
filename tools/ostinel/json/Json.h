#pragma once
// JSON (RFC 8259) for preset sources, read with nlohmann-json's parser: strict grammar (no
// comments, no trailing commas, no NaN), UTF-8 input (a leading byte-order mark is skipped),
// nesting limited to kMaxDepth. The result is a tree in which every value remembers where it
// started, so that the checks after parsing can name the place of a bad value; syntax errors
// name the place of the bad token, escape or byte.
#include "common/Error.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostinel::cli::json {

struct Position {
    std::size_t line = 1;   // 1-based
    std::size_t column = 1; // 1-based, in bytes
};

// "line L, column C" of a position.
[[nodiscard]] std::string Describe(Position where);

// A syntax error; the message starts with the place ("line 3, column 7: ...").
class JsonError : public Error {
public:
    JsonError(const std::string& what, Position where);
    [[nodiscard]] Position Where() const { return where_; }

private:
    Position where_;
};

inline constexpr std::size_t kMaxDepth = 64;

enum class Kind : std::uint8_t { Null, Boolean, Number, String, Array, Object };

[[nodiscard]] const char* KindName(Kind kind);

struct Member;

struct Value {
    Kind kind = Kind::Null;
    Position where;
    bool boolean = false;
    double number = 0.0;         // numbers: the nearest double
    std::string text;            // strings: the UTF-8 value; numbers: the source text
    std::vector<Value> items;    // arrays
    std::vector<Member> members; // objects, in source order, keys unique

    // The member with this key, or null.
    [[nodiscard]] const Value* Find(std::string_view key) const;
};

struct Member {
    std::string key;
    Position keyWhere;
    Value value;
};

// Parses one JSON text. Throws JsonError. Duplicate keys in an object are an error, numbers
// beyond the double range are an error, strings must be valid UTF-8 and may not hold
// unpaired surrogate escapes.
[[nodiscard]] Value Parse(std::string_view text);

// The text as a JSON string literal, quotes included (nlohmann-json's writer). Expects UTF-8;
// control characters are escaped, everything else is written as it is.
[[nodiscard]] std::string Quote(std::string_view text);

} // namespace ostinel::cli::json
