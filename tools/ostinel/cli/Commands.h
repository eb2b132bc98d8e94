#pragma once
// The sub-commands of the `ostinel` tool. Each takes the arguments after its name and returns
// the process exit status: kExitOk, kExitFailure (something could not be done; the reason is
// on the error stream) or kExitUsage (wrong command line).
#include <iosfwd>
#include <span>
#include <string>

namespace ostinel::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Console {
    std::ostream& out;
    std::ostream& err;
    bool progress = false; // the error stream is a terminal: show progress lines there
};

// The whole command line after the program name.
[[nodiscard]] int Run(std::span<const std::string> args, Console& console);

[[nodiscard]] int RunMap(std::span<const std::string> args, Console& console);
[[nodiscard]] int RunDump(std::span<const std::string> args, Console& console);
[[nodiscard]] int RunBuild(std::span<const std::string> args, Console& console);
[[nodiscard]] int RunInfo(std::span<const std::string> args, Console& console);
[[nodiscard]] int RunEdit(std::span<const std::string> args, Console& console);

} // namespace ostinel::cli
