#include "cli/PluginLocation.h"

#include "common/Utf.h"
#include "vsthost/HostError.h"

#include <string>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace ostinel::cli {

namespace {

#if defined(_WIN32)
constexpr const char* kBinaryName = "Ostinel.dll";

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

std::vector<std::filesystem::path> DefaultPluginCandidates() {
    std::vector<std::filesystem::path> candidates;
    const std::filesystem::path executable = ExecutablePath();
    if (!executable.empty()) {
        const std::filesystem::path folder = executable.parent_path();
        candidates.push_back(folder / kBinaryName);
#if !defined(_WIN32)
        candidates.push_back(folder / ".." / "lib" / "lxvst" / kBinaryName);
#endif
    }
#if defined(OSTINEL_PLUGIN_BUILD_PATH)
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
    throw vsthost::HostError(std::string("cannot find the plug-in binary ") + kBinaryName +
                             "; give its path with --plugin. Searched:" + searched);
}

} // namespace ostinel::cli
