#include "cli/Arguments.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace ostinel::cli {

namespace {

const OptionDef* FindOption(std::initializer_list<OptionDef> known, std::string_view name) {
    for (const OptionDef& option : known)
        if (option.name == name || (!option.shortName.empty() && option.shortName == name))
            return &option;
    return nullptr;
}

std::string Range(std::string_view option, const std::string& min, const std::string& max) {
    return std::string(option) + " must be a number from " + min + " to " + max;
}

} // namespace

Arguments::Arguments(std::span<const std::string> args, std::initializer_list<OptionDef> known) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional_.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            help_ = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const std::size_t eq = arg.find('=');
            arg.starts_with("--") && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        const OptionDef* option = FindOption(known, name);
        if (option == nullptr)
            throw UsageError("unknown option " + name);
        if (!option->takesValue) {
            if (value)
                throw UsageError("option " + std::string(option->name) + " takes no value");
            value = "";
        } else if (!value) {
            if (i + 1 >= args.size())
                throw UsageError("option " + name + " needs a value");
            value = args[++i];
        }
        const std::string canonical(option->name);
        if (Has(canonical))
            throw UsageError("option " + canonical + " is given more than once");
        options_.emplace_back(canonical, *value);
    }
}

std::optional<std::string> Arguments::Value(std::string_view name) const {
    for (const auto& [key, value] : options_)
        if (key == name)
            return value;
    return std::nullopt;
}

bool Arguments::Has(std::string_view name) const {
    return Value(name).has_value();
}

void Arguments::ExpectPositional(std::size_t min, std::size_t max, std::string_view what) const {
    if (positional_.size() < min)
        throw UsageError("missing " + std::string(what));
    if (positional_.size() > max)
        throw UsageError("unexpected argument \"" + positional_[max] + "\"");
}

std::uint64_t ParseWhole(std::string_view text, std::string_view option, std::uint64_t min,
                         std::uint64_t max) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < min ||
        value > max)
        throw UsageError(Range(option, std::to_string(min), std::to_string(max)) + ", not \"" +
                         std::string(text) + "\"");
    return value;
}

std::int64_t ParseSigned(std::string_view text, std::string_view option, std::int64_t min,
                         std::int64_t max) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < min ||
        value > max)
        throw UsageError(Range(option, std::to_string(min), std::to_string(max)) + ", not \"" +
                         std::string(text) + "\"");
    return value;
}

double ParseDecimal(std::string_view text, std::string_view option, double min, double max) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !(value >= min && value <= max)) {
        char lo[32], hi[32];
        const auto l = std::to_chars(lo, lo + sizeof lo, min);
        const auto h = std::to_chars(hi, hi + sizeof hi, max);
        throw UsageError(Range(option, std::string(lo, l.ptr), std::string(hi, h.ptr)) +
                         ", not \"" + std::string(text) + "\"");
    }
    return value;
}

} // namespace ostinel::cli
