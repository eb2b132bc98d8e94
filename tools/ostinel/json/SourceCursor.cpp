#include "json/SourceCursor.h"

namespace ostinel::cli::json {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

SourceCursor::SourceCursor(std::string_view text) : text_(text) {
    if (text_.starts_with("\xEF\xBB\xBF"))
        offset_ = 3;
}

Position SourceCursor::Here() const {
    return {line_, offset_ - lineStart_ + 1};
}

Position SourceCursor::PositionAt(std::size_t offset) const {
    SourceCursor ahead = *this;
    ahead.MoveTo(offset);
    return ahead.Here();
}

void SourceCursor::MoveTo(std::size_t offset) {
    for (; offset_ < offset && offset_ < text_.size(); ++offset_) {
        if (text_[offset_] == '\n') {
            ++line_;
            lineStart_ = offset_ + 1;
        }
    }
    offset_ = offset; // past the end: the end of the document
}

void SourceCursor::SkipBlanks() {
    std::size_t end = offset_;
    while (end < text_.size() && IsBlank(text_[end]))
        ++end;
    MoveTo(end);
}

std::size_t SourceCursor::NextToken() {
    SkipBlanks();
    if (IsSeparatorAt(offset_)) {
        MoveTo(offset_ + 1);
        SkipBlanks();
    }
    return offset_;
}

std::size_t SourceCursor::NumberEnd(std::size_t offset) const {
    std::size_t i = offset;
    const auto digits = [&] {
        while (i < text_.size() && IsDigit(text_[i]))
            ++i;
    };
    if (i < text_.size() && text_[i] == '-')
        ++i;
    if (i < text_.size() && text_[i] == '0')
        ++i; // a leading 0 stands alone
    else
        digits();
    if (i < text_.size() && text_[i] == '.') {
        ++i;
        digits();
    }
    if (i < text_.size() && (text_[i] == 'e' || text_[i] == 'E')) {
        ++i;
        if (i < text_.size() && (text_[i] == '+' || text_[i] == '-'))
            ++i;
        digits();
    }
    return i;
}

std::size_t SourceCursor::StringEnd(std::size_t offset) const {
    std::size_t i = offset + 1;
    while (i < text_.size()) {
        if (text_[i] == '\\')
            i += 2;
        else if (text_[i] == '"')
            return i + 1;
        else
            ++i;
    }
    return text_.size();
}

} // namespace ostinel::cli::json
