// Entry points of the plug-in binary, loaded at run time the way a host loads it. The path
// comes from OSTINEL_PLUGIN or, by default, from the build tree.
#include "support/PluginInstance.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

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

struct Library {
    Library() {
        path = PluginPath();
#if defined(_WIN32)
        std::wstring wide(path.begin(), path.end());
        handle = LoadLibraryW(wide.c_str());
#else
        handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
        if (handle == nullptr)
            throw std::runtime_error("cannot load plug-in binary " + path);
    }
    void* Symbol(const char* name) const {
#if defined(_WIN32)
        return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
        return dlsym(handle, name);
#endif
    }
    std::string path;
    void* handle = nullptr; // kept loaded for the whole test run
};

const Library& TheLibrary() {
    static const Library library;
    return library;
}

} // namespace

const EntryPoints& Entries() {
    static const EntryPoints entries = [] {
        const Library& library = TheLibrary();
        EntryPoints e;
        e.vstPluginMain = reinterpret_cast<MainEntry>(library.Symbol("VSTPluginMain"));
        e.main = reinterpret_cast<MainEntry>(library.Symbol("main"));
        e.winampGetHeader = reinterpret_cast<void* (*)()>(library.Symbol("winampDSPGetHeader2"));
        if (e.vstPluginMain == nullptr || e.main == nullptr || e.winampGetHeader == nullptr)
            throw std::runtime_error("plug-in binary lacks an entry point: " + library.path);
        return e;
    }();
    return entries;
}

std::string EntriesDescription() {
    return "binary " + TheLibrary().path;
}

} // namespace ostinel::test
