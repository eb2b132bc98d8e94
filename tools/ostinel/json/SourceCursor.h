#pragma once
// Follows a JSON text behind nlohmann's parser, token by token, so that every value gets the
// line and column where it starts (the parser's events carry no place) and a number its source
// text. It only moves over text the parser has already accepted, so it checks nothing itself.
// Columns count bytes from 1; lines end at '\n'.
#include "json/Json.h"

#include <cstddef>
#include <string_view>

namespace ostinel::cli::json {

class SourceCursor {
public:
    // Starts after a UTF-8 byte-order mark, as the parser does (the mark counts as 3 columns).
    explicit SourceCursor(std::string_view text);

    [[nodiscard]] std::string_view Text() const { return text_; }
    [[nodiscard]] std::size_t Offset() const { return offset_; }
    [[nodiscard]] Position Here() const;
    // The place of an offset at or after the cursor.
    [[nodiscard]] Position PositionAt(std::size_t offset) const;

    void MoveTo(std::size_t offset);
    void SkipBlanks();
    // Blanks, then one ',' or ':' the parser accepted before this token, then blanks: the start
    // of the next token.
    std::size_t NextToken();

    [[nodiscard]] bool IsSeparatorAt(std::size_t offset) const {
        return offset < text_.size() && (text_[offset] == ',' || text_[offset] == ':');
    }
    // The end of a well-formed number or string token that starts at offset.
    [[nodiscard]] std::size_t NumberEnd(std::size_t offset) const;
    [[nodiscard]] std::size_t StringEnd(std::size_t offset) const;

private:
    std::string_view text_;
    std::size_t offset_ = 0;
    std::size_t line_ = 1;
    std::size_t lineStart_ = 0;
};

} // namespace ostinel::cli::json
