#include "json/Json.h"

#include <nlohmann/json.hpp>

namespace ostinel::cli::json {

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

std::string Quote(std::string_view text) {
    // Texts from presets are valid UTF-8 (the state reader cleans them); should one not be,
    // its bad bytes become U+FFFD rather than stopping the dump.
    return nlohmann::json(std::string(text))
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace ostinel::cli::json
