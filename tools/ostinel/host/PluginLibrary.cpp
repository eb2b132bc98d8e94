#include "host/PluginLibrary.h"

#include "common/Utf.h"
#include "host/HostError.h"

#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace ostinel::cli {

namespace {

#if defined(_WIN32)
constexpr const char* kBinaryName = "Ostinel.dll";

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

std::filesystem::path ExecutablePath() {
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    buffer.resize(n);
    return std::filesystem::path(buffer);
}
#else
constexpr const char* kBinaryName = "Ostinel.so";

std::filesystem::path ExecutablePath() {
    std::error_code ec;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : path;
}
#endif

} // namespace

PluginLibrary::PluginLibrary(std::filesystem::path path) : path_(std::move(path)) {
#if defined(_WIN32)
    handle_ = LoadLibraryW(path_.wstring().c_str());
    if (handle_ == nullptr)
        throw HostError("cannot load the plug-in binary \"" + PathToUtf8(path_) +
                        "\": " + SystemMessage(GetLastError()));
    const auto symbol = [this](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
    };
#else
    handle_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        throw HostError("cannot load the plug-in binary \"" + PathToUtf8(path_) +
                        "\": " + (reason != nullptr ? reason : "unknown reason"));
    }
    const auto symbol = [this](const char* name) { return dlsym(handle_, name); };
#endif
    for (const char* name : {"VSTPluginMain", "main"}) {
        if (void* address = symbol(name)) {
            entry_ = reinterpret_cast<MainEntry>(address);
            entryName_ = name;
            break;
        }
    }
    if (entry_ == nullptr) {
#if defined(_WIN32)
        FreeLibrary(static_cast<HMODULE>(handle_));
#else
        dlclose(handle_);
#endif
        throw HostError("\"" + PathToUtf8(path_) +
                        "\" is not a VST 2.4 plug-in: it exports neither VSTPluginMain nor main");
    }
}

PluginLibrary::~PluginLibrary() {
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
}

vst::AEffect* PluginLibrary::CreateEffect(vst::audioMasterCallback callback) const {
    return entry_(callback);
}

std::vector<std::filesystem::path> DefaultPluginCandidates() {
    std::vector<std::filesystem::path> candidates;
    const std::filesystem::path executable = ExecutablePath();
    if (!executable.empty()) {
        const std::filesystem::path folder = executable.parent_path();
        candidates.push_back(folder / kBinaryName);
        candidates.push_back(folder / ".." / "src" / "ostinel" / kBinaryName);
        candidates.push_back(folder / ".." / ".." / "src" / "ostinel" / kBinaryName);
    }
#ifdef OSTINEL_PLUGIN_BUILD_PATH
    candidates.emplace_back(PathFromUtf8(OSTINEL_PLUGIN_BUILD_PATH));
#endif
    return candidates;
}

std::filesystem::path ResolvePluginPath(const std::optional<std::filesystem::path>& given) {
    if (given)
        return *given;
    std::string searched;
    for (const std::filesystem::path& candidate : DefaultPluginCandidates()) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec))
            return candidate.lexically_normal();
        searched += "\n  " + PathToUtf8(candidate.lexically_normal());
    }
    throw HostError(std::string("cannot find the plug-in binary ") + kBinaryName +
                    "; give its path with --plugin. Searched:" + searched);
}

} // namespace ostinel::cli
