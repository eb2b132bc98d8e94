// Entry points of the plug-in binary, loaded at run time the way a host loads it. The path
// comes from OSTINEL_PLUGIN or, by default, from the build tree.
#include "common/Utf.h"
#include "support/PluginInstance.h"
#include "vsthost/PluginLibrary.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace ostinel::test {

namespace {

std::string PluginPath() {
    if (const char* env = std::getenv("OSTINEL_PLUGIN"); env != nullptr && *env != '\0')
        return env;
    std::string path = OSTINEL_PLUGIN_DEFAULT_PATH;
#if defined(_WIN32)
    // A build-tree path of the Unix side, seen through wine's Z: drive.
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
#endif
    return path;
}

// Kept loaded for the whole test run.
const vsthost::PluginLibrary& TheLibrary() {
    static const vsthost::PluginLibrary library(PathFromUtf8(PluginPath()));
    return library;
}

} // namespace

const EntryPoints& Entries() {
    static const EntryPoints entries = [] {
        const vsthost::PluginLibrary& library = TheLibrary();
        EntryPoints e;
        e.vstPluginMain = reinterpret_cast<MainEntry>(library.Symbol("VSTPluginMain"));
        e.main = reinterpret_cast<MainEntry>(library.Symbol("main"));
        e.winampGetHeader = reinterpret_cast<void* (*)()>(library.Symbol("winampDSPGetHeader2"));
        if (e.vstPluginMain == nullptr || e.main == nullptr || e.winampGetHeader == nullptr)
            throw std::runtime_error("plug-in binary lacks an entry point: " +
                                     PathToUtf8(library.Path()));
        return e;
    }();
    return entries;
}

std::string EntriesDescription() {
    return "binary " + PathToUtf8(TheLibrary().Path());
}

} // namespace ostinel::test
