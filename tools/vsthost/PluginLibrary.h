#pragma once
// The plug-in binary, loaded the way a host loads it (dlopen on Linux, LoadLibraryW on
// Windows) and kept loaded for the object's life. Every instance created from it must be
// closed before the library is destroyed.
#include "plugin/VstAbi.h"

#include <filesystem>
#include <string>

namespace ostinel::vsthost {

using MainEntry = vst::AEffect*(OSTINEL_VSTCALL*)(vst::audioMasterCallback);

class PluginLibrary {
public:
    // Throws HostError naming the path and the system's reason when the binary cannot be
    // loaded or exports neither VSTPluginMain nor main. Build the path with PathFromUtf8 so
    // that any characters reach the system intact.
    explicit PluginLibrary(std::filesystem::path path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // The entry point: VSTPluginMain, or main for binaries of the older convention.
    [[nodiscard]] MainEntry Entry() const { return entry_; }
    // "VSTPluginMain" or "main": the export that was found.
    [[nodiscard]] const std::string& EntryName() const { return entryName_; }
    // Any other export, or null.
    [[nodiscard]] void* Symbol(const char* name) const;

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }

private:
    void Unload() noexcept;

    std::filesystem::path path_;
    void* handle_ = nullptr;
    MainEntry entry_ = nullptr;
    std::string entryName_;
};

} // namespace ostinel::vsthost
