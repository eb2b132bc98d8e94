#pragma once
// Help texts of the tool and its sub-commands.

namespace ostinel::cli {

extern const char* const kGeneralHelp;
extern const char* const kMapHelp;
extern const char* const kDumpHelp;
extern const char* const kBuildHelp;
extern const char* const kInfoHelp;
extern const char* const kEditHelp;

} // namespace ostinel::cli
