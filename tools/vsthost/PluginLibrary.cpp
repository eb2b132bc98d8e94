#include "vsthost/PluginLibrary.h"

#include "common/Utf.h"
#include "vsthost/HostError.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace ostinel::vsthost {

namespace {

#if defined(_WIN32)
std::string SystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = n > 0 ? WideToUtf8(std::wstring_view(buffer, n)) : std::string();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(code) : text;
}
#endif

} // namespace

PluginLibrary::PluginLibrary(std::filesystem::path path) : path_(std::move(path)) {
#if defined(_WIN32)
    handle_ = LoadLibraryW(path_.wstring().c_str());
    if (handle_ == nullptr)
        throw HostError("cannot load the plug-in binary \"" + PathToUtf8(path_) +
                        "\": " + SystemMessage(GetLastError()));
#else
    handle_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        throw HostError("cannot load the plug-in binary \"" + PathToUtf8(path_) +
                        "\": " + (reason != nullptr ? reason : "unknown reason"));
    }
#endif
    for (const char* name : {"VSTPluginMain", "main"}) {
        if (void* address = Symbol(name)) {
            entry_ = reinterpret_cast<MainEntry>(address);
            entryName_ = name;
            break;
        }
    }
    if (entry_ == nullptr) {
        Unload();
        throw HostError("\"" + PathToUtf8(path_) +
                        "\" is not a VST 2.4 plug-in: it exports neither VSTPluginMain nor main");
    }
}

PluginLibrary::~PluginLibrary() {
    Unload();
}

void* PluginLibrary::Symbol(const char* name) const {
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
    return dlsym(handle_, name);
#endif
}

void PluginLibrary::Unload() noexcept {
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
    handle_ = nullptr;
}

} // namespace ostinel::vsthost
