// Parse: nlohmann's parser reads the text (grammar, escapes, UTF-8); its events build our tree,
// and a cursor that follows them gives every value its place.
#include "json/Json.h"
#include "json/SourceCursor.h"
#include "json/SyntaxError.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <optional>
#include <system_error>

namespace ostinel::cli::json {

namespace {

using Sax = nlohmann::json_sax<nlohmann::json>;

class TreeBuilder final : public Sax {
public:
    explicit TreeBuilder(std::string_view text) : cursor_(text) {}

    // The document, or the first error.
    [[nodiscard]] Value Build() {
        const std::string_view text = cursor_.Text();
        const bool ok = nlohmann::json::sax_parse(
            text.begin(), text.end(), this, nlohmann::json::input_format_t::json, true, false);
        if (error_)
            throw *error_;
        if (!ok)
            throw JsonError("the document cannot be read", cursor_.Here());
        return std::move(root_);
    }

    bool null() override { return Literal(Kind::Null, 4) != nullptr; }

    bool boolean(bool value) override {
        Value* v = Literal(Kind::Boolean, value ? 4 : 5);
        v->boolean = value;
        return true;
    }

    bool number_integer(number_integer_t) override { return Number(); }
    bool number_unsigned(number_unsigned_t) override { return Number(); }
    bool number_float(number_float_t, const string_t&) override { return Number(); }

    bool string(string_t& text) override {
        const std::size_t start = cursor_.NextToken();
        Value* v = Add(Kind::String);
        v->text = std::move(text);
        Finish(cursor_.StringEnd(start), ParseContext::Last::Value);
        return true;
    }

    bool binary(binary_t&) override { return false; } // JSON text has none

    bool start_object(std::size_t) override { return Open(Kind::Object); }
    bool start_array(std::size_t) override { return Open(Kind::Array); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    bool key(string_t& key) override {
        const std::size_t start = cursor_.NextToken();
        Value& object = *open_.back();
        if (object.Find(key) != nullptr)
            return Fail("duplicate key " + Quote(key), cursor_.Here());
        object.members.push_back({std::move(key), cursor_.Here(), {}});
        Finish(cursor_.StringEnd(start), ParseContext::Last::Key);
        return true;
    }

    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& e) override {
        const ParserReport report{position, e.id, e.what()};
        error_ = TranslateSyntaxError(cursor_, Context(), report);
        return false;
    }

private:
    bool Fail(const std::string& what, Position where) {
        error_ = JsonError(what, where);
        return false;
    }

    [[nodiscard]] ParseContext Context() const {
        ParseContext context;
        if (!open_.empty())
            context.container = open_.back()->kind == Kind::Object ? ParseContext::Container::Object
                                                                   : ParseContext::Container::Array;
        context.last = last_;
        context.lastWasZero = lastWasZero_;
        return context;
    }

    // A new value at the cursor, in its place in the tree.
    Value* Add(Kind kind) {
        Value* v = &root_;
        if (!open_.empty()) {
            Value& parent = *open_.back();
            v = parent.kind == Kind::Array ? &parent.items.emplace_back()
                                           : &parent.members.back().value;
        }
        v->kind = kind;
        v->where = cursor_.Here();
        return v;
    }

    void Finish(std::size_t end, ParseContext::Last last) {
        cursor_.MoveTo(end);
        last_ = last;
        lastWasZero_ = false;
    }

    Value* Literal(Kind kind, std::size_t length) {
        const std::size_t start = cursor_.NextToken();
        Value* v = Add(kind);
        Finish(start + length, ParseContext::Last::Value);
        return v;
    }

    // The number as written: parsed again from its text, so that no digit is lost (-0 stays
    // negative, floats can be read from the text exactly).
    bool Number() {
        const std::size_t start = cursor_.NextToken();
        const std::size_t end = cursor_.NumberEnd(start);
        Value* v = Add(Kind::Number);
        v->text = std::string(cursor_.Text().substr(start, end - start));
        const char* first = v->text.data();
        const char* last = first + v->text.size();
        const auto [stop, error] = std::from_chars(first, last, v->number);
        if (error == std::errc::result_out_of_range)
            return Fail("number " + v->text + " is out of range", v->where);
        if (error != std::errc() || stop != last)
            return Fail("number " + v->text + " cannot be read", v->where);
        Finish(end, ParseContext::Last::Value);
        lastWasZero_ = v->text == "0" || v->text == "-0";
        return true;
    }

    bool Open(Kind kind) {
        const std::size_t start = cursor_.NextToken();
        if (open_.size() >= kMaxDepth)
            return Fail("nesting deeper than " + std::to_string(kMaxDepth) + " levels",
                        cursor_.Here());
        open_.push_back(Add(kind));
        Finish(start + 1, ParseContext::Last::Open);
        return true;
    }

    bool Close() {
        const std::size_t start = cursor_.NextToken();
        open_.pop_back();
        Finish(start + 1, ParseContext::Last::Value);
        return true;
    }

    SourceCursor cursor_;
    Value root_;
    // The open containers, outermost first. Only the innermost one grows, so the pointers into
    // the tree stay valid.
    std::vector<Value*> open_;
    ParseContext::Last last_ = ParseContext::Last::Nothing;
    bool lastWasZero_ = false;
    std::optional<JsonError> error_;
};

} // namespace

Value Parse(std::string_view text) {
    return TreeBuilder(text).Build();
}

} // namespace ostinel::cli::json
