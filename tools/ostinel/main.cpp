// The `ostinel` command-line tool: see cli/Help.cpp for what it does.
#include "cli/Commands.h"
#include "common/QelCommon.h"

#include <iostream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include "common/Utf.h"
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

bool ErrorStreamIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

int RunTool(const std::vector<std::string>& args) {
    // Note labels as the plug-in shows them by default.
    ostinel::SetOctaveOffset(-2);
    ostinel::cli::Console console{std::cout, std::cerr, ErrorStreamIsTerminal()};
    const int status = ostinel::cli::Run(args, console);
    std::cout.flush();
    return status;
}

} // namespace

#if defined(_WIN32)
// Wide arguments, so that paths with any characters arrive intact (as UTF-8 inside).
int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    // The same bytes as on Linux: "\n" line ends, so `dump --format json > x.json` then `build`
    // gives back the same file, and the console shows "\n" as a new line anyway.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(ostinel::WideToUtf8(argv[i]));
    return RunTool(args);
}
#else
int main(int argc, char** argv) {
    return RunTool(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
