#pragma once
// Turns a syntax error that nlohmann's parser reports (a byte count and its own wording) into
// ours: the place where the reader of the file should look (the start of the unexpected token,
// the escape or the UTF-8 sequence that is wrong) and what was expected there. The kind of a
// lexical error is taken from nlohmann's wording, which its tests pin (tests/tools/ostinel
// JsonTest); an unknown wording still gets a place and the grammar's expectation.
#include "json/Json.h"
#include "json/SourceCursor.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ostinel::cli::json {

// Where the parser was, as the last event left it.
struct ParseContext {
    enum class Container : std::uint8_t { None, Object, Array };
    enum class Last : std::uint8_t { Nothing, Open, Key, Value };
    Container container = Container::None; // the innermost open one
    Last last = Last::Nothing;
    bool lastWasZero = false; // the last event was the number 0 or -0, ending at the cursor
};

struct ParserReport {
    std::size_t position = 0; // bytes read, the failing one included (the end counts as one)
    int id = 0;               // nlohmann's exception id
    std::string_view message; // nlohmann's own text
};

// `cursor` stands at the end of the last event.
[[nodiscard]] JsonError TranslateSyntaxError(const SourceCursor& cursor,
                                             const ParseContext& context,
                                             const ParserReport& report);

} // namespace ostinel::cli::json
