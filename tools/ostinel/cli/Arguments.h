#pragma once
// Command-line arguments of one sub-command: positional arguments and the options it knows
// ("--name value", "--name=value", or a short alias such as "-o value"; "--" ends the options).
#include "common/Error.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ostinel::cli {

// Wrong use of the command line: reported with a pointer to --help, exit status 2.
class UsageError : public Error {
public:
    using Error::Error;
};

struct OptionDef {
    std::string_view name;           // "--preset"
    std::string_view shortName = {}; // "-o", or empty
    bool takesValue = true;
};

class Arguments {
public:
    // Throws UsageError for unknown options, missing values and repeated options. "-h" and
    // "--help" are always known.
    Arguments(std::span<const std::string> args, std::initializer_list<OptionDef> known);

    [[nodiscard]] bool Help() const { return help_; }
    [[nodiscard]] const std::vector<std::string>& Positional() const { return positional_; }
    [[nodiscard]] std::optional<std::string> Value(std::string_view name) const;
    [[nodiscard]] bool Has(std::string_view name) const;

    // Throws UsageError unless there are between min and max positional arguments.
    void ExpectPositional(std::size_t min, std::size_t max, std::string_view what) const;

private:
    std::vector<std::string> positional_;
    std::vector<std::pair<std::string, std::string>> options_;
    bool help_ = false;
};

// Whole numbers and decimal numbers of an option, checked against a range; UsageError names
// the option.
[[nodiscard]] std::uint64_t ParseWhole(std::string_view text, std::string_view option,
                                       std::uint64_t min, std::uint64_t max);
[[nodiscard]] std::int64_t ParseSigned(std::string_view text, std::string_view option,
                                       std::int64_t min, std::int64_t max);
[[nodiscard]] double ParseDecimal(std::string_view text, std::string_view option, double min,
                                  double max);

} // namespace ostinel::cli
