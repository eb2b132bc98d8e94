#include "common/FileSystem.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <filesystem>

namespace ostinel::detail {

namespace fs = std::filesystem;

bool ListFolder(const std::string& folder, const std::function<void(const FolderEntry&)>& visit) {
    std::error_code error;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), error);
    if (error)
        return false;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error)
            return false;
        FolderEntry entry;
        entry.name = it->path().filename().native();
        std::error_code statusError;
        entry.ordinaryFile = it->is_regular_file(statusError) && !statusError;
        entry.hidden = entry.name.starts_with('.');
        visit(entry);
    }
    return !error;
}

bool IsExistingFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool VolumeAnswers(std::string_view path) {
    // No drives here: an absolute path lives on the root's volume tree.
    if (!path.starts_with('/'))
        return false;
    struct statvfs info {};
    return ::statvfs("/", &info) == 0;
}

int CompareNamesNoCase(std::string_view a, std::string_view b) {
    auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = fold(static_cast<unsigned char>(a[i]));
        const int cb = fold(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return 0;
}

} // namespace ostinel::detail
