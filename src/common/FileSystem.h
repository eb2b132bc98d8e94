#pragma once
// The operating-system half of the file helpers of QelCommon; one implementation per platform
// (win32/, posix/). GUI thread only.
#include <functional>
#include <string>
#include <string_view>

namespace ostinel::detail {

struct FolderEntry {
    std::string name; // without the folder
    bool ordinaryFile = false;
    bool hidden = false;
    bool system = false;
};

// Calls `visit` for every entry of `folder` ("" = current folder) except "." and "..".
// False when the folder cannot be opened or the listing stops on an error.
[[nodiscard]] bool ListFolder(const std::string& folder,
                              const std::function<void(const FolderEntry&)>& visit);

// Whether something that is not a folder exists at `path`.
[[nodiscard]] bool IsExistingFile(const std::string& path);

// Volume query on the root of the path's drive, without critical-error prompts.
[[nodiscard]] bool VolumeAnswers(std::string_view path);

[[nodiscard]] int CompareNamesNoCase(std::string_view a, std::string_view b);

} // namespace ostinel::detail
