#include "common/FileSystem.h"
#include "common/QelCommon.h"
#include "common/Utf.h"

#include <algorithm>

namespace ostinel {

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

char16_t FoldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameUnitIgnoringAsciiCase(char16_t a, char16_t b) {
    return FoldAscii(a) == FoldAscii(b);
}

bool HasDriveLetter(std::string_view path) {
    return path.size() >= 3 && path[1] == ':' && path[2] == '\\';
}

// Appends the matching files of one mask; true when it listed one and the search ended well.
bool FindFilesByMask(const std::string& folder, std::string_view mask,
                     std::uint32_t attributeFilter, std::vector<std::string>& list) {
    if (mask.empty())
        return false;
    std::vector<std::string> found;
    const bool listed = detail::ListFolder(folder, [&](const detail::FolderEntry& entry) {
        if (!entry.ordinaryFile)
            return;
        if (entry.hidden && (attributeFilter & kFileAttrHidden) == 0)
            return;
        if (entry.system && (attributeFilter & kFileAttrSystem) == 0)
            return;
        if (MatchesMask(entry.name, mask))
            found.push_back(entry.name);
    });
    if (!found.empty()) {
        list.insert(list.end(), found.begin(), found.end());
        std::stable_sort(list.begin(), list.end(), [](const std::string& a, const std::string& b) {
            return CompareTextNoCase(a, b) < 0;
        });
    }
    return listed && !found.empty();
}

} // namespace

bool DriveReady(std::string_view path) {
    return detail::VolumeAnswers(path);
}

bool FileExistsSafe(std::string_view path) {
    if (path.starts_with('"'))
        path.remove_prefix(1);
    if (path.ends_with('"'))
        path.remove_suffix(1);
    path = TrimBlanks(path);
    if (path.empty())
        return false;
    if (HasDriveLetter(path) && !DriveReady(path.substr(0, 3)))
        return false;
    return FileExists(std::string(path));
}

bool FileExists(const std::string& path) {
    return detail::IsExistingFile(path);
}

bool FindFilesByMasks(std::string_view folderAndMasks, std::uint32_t attributeFilter,
                      std::vector<std::string>& list) {
    // Both separators everywhere: folder texts are built with "\" by Windows-minded callers.
    const std::size_t slash = folderAndMasks.find_last_of("\\/");
    const std::string folder(slash == std::string_view::npos ? std::string_view{}
                                                             : folderAndMasks.substr(0, slash + 1));
    std::string_view masks =
        slash == std::string_view::npos ? folderAndMasks : folderAndMasks.substr(slash + 1);

    bool result = false;
    while (true) {
        const std::size_t semicolon = masks.find(';');
        result =
            FindFilesByMask(folder, TrimBlanks(masks.substr(0, semicolon)), attributeFilter, list);
        if (semicolon == std::string_view::npos)
            break;
        masks.remove_prefix(semicolon + 1);
    }
    return result;
}

int CompareTextNoCase(std::string_view a, std::string_view b) {
    return detail::CompareNamesNoCase(a, b);
}

bool MatchesMask(std::string_view name, std::string_view mask) {
    if (mask == "*.*")
        return true;
    // UTF-16 units so that "?" stands for one character of the Basic Multilingual Plane.
    const std::u16string text = Utf8ToUtf16(name);
    const std::u16string pattern = Utf8ToUtf16(mask);
    // Iterative wildcard match with one backtrack point: at worst name x mask steps, no recursion.
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t starP = std::u16string::npos;
    std::size_t starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] != u'*' &&
            (pattern[p] == u'?' || SameUnitIgnoringAsciiCase(pattern[p], text[t]))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starT = t;
        } else if (starP != std::u16string::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace ostinel
