#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Help.h"

#include <exception>
#include <ostream>
#include <string_view>

namespace ostinel::cli {

namespace {

using Command = int (*)(std::span<const std::string>, Console&);

struct Entry {
    std::string_view name;
    Command run;
    const char* help;
};

const Entry kCommands[] = {
    {"map", &RunMap, kMapHelp},    {"dump", &RunDump, kDumpHelp}, {"build", &RunBuild, kBuildHelp},
    {"info", &RunInfo, kInfoHelp}, {"edit", &RunEdit, kEditHelp},
};

const Entry* Find(std::string_view name) {
    for (const Entry& entry : kCommands)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

// Errors of a command become messages and an exit status; nothing escapes to the caller.
int Guarded(const Entry& entry, std::span<const std::string> args, Console& console) {
    try {
        return entry.run(args, console);
    } catch (const UsageError& e) {
        console.err << "ostinel " << entry.name << ": " << e.what() << "\nSee 'ostinel "
                    << entry.name << " --help'.\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        console.err << "error: " << e.what() << "\n";
        return kExitFailure;
    }
}

} // namespace

int Run(std::span<const std::string> args, Console& console) {
    if (args.empty()) {
        console.err << kGeneralHelp;
        return kExitUsage;
    }
    const std::string& name = args[0];
    if (name == "help" || name == "--help" || name == "-h") {
        if (args.size() > 1) {
            const Entry* entry = Find(args[1]);
            if (entry == nullptr) {
                console.err << "ostinel: unknown command \"" << args[1] << "\"\n" << kGeneralHelp;
                return kExitUsage;
            }
            console.out << entry->help;
            return kExitOk;
        }
        console.out << kGeneralHelp;
        return kExitOk;
    }
    const Entry* entry = Find(name);
    if (entry == nullptr) {
        console.err << "ostinel: unknown command \"" << name << "\"\n" << kGeneralHelp;
        return kExitUsage;
    }
    return Guarded(*entry, args.subspan(1), console);
}

} // namespace ostinel::cli
