#pragma once
// The plug-in binary, loaded the way a host loads it (dlopen on Linux, LoadLibraryW on
// Windows) and kept loaded for the object's life. Every instance created from it must be
// closed before the library is destroyed.
#include "plugin/VstAbi.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ostinel::cli {

class PluginLibrary {
public:
    // Throws HostError naming the path and the system's reason when the binary cannot be
    // loaded or exports neither VSTPluginMain nor main.
    explicit PluginLibrary(std::filesystem::path path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // Calls the entry point with the host callback; null when the plug-in refuses.
    [[nodiscard]] vst::AEffect* CreateEffect(vst::audioMasterCallback callback) const;

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
    // "VSTPluginMain" or "main": the export that was found.
    [[nodiscard]] const std::string& EntryName() const { return entryName_; }

private:
    using MainEntry = vst::AEffect*(OSTINEL_VSTCALL*)(vst::audioMasterCallback);

    std::filesystem::path path_;
    void* handle_ = nullptr;
    MainEntry entry_ = nullptr;
    std::string entryName_;
};

// Where to look for the plug-in binary when no path is given, in order: beside the
// executable, the build tree's src/ostinel folder relative to it, and the path the tool was
// built with.
[[nodiscard]] std::vector<std::filesystem::path> DefaultPluginCandidates();

// The given path, or the first default candidate that exists. Throws HostError listing the
// places searched.
[[nodiscard]] std::filesystem::path
ResolvePluginPath(const std::optional<std::filesystem::path>& given);

} // namespace ostinel::cli
