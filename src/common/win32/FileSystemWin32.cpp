#include "common/FileSystem.h"
#include "common/Utf.h"

#include "common/win32/WinApi.h"

namespace ostinel::detail {

namespace {

// Suppresses the "no disk in drive" prompt for this thread while an empty removable drive
// is touched; restores the previous mode.
class ScopedNoCriticalErrorPrompts {
public:
    ScopedNoCriticalErrorPrompts() {
        ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_);
    }
    ~ScopedNoCriticalErrorPrompts() { ::SetThreadErrorMode(previous_, nullptr); }
    ScopedNoCriticalErrorPrompts(const ScopedNoCriticalErrorPrompts&) = delete;
    ScopedNoCriticalErrorPrompts& operator=(const ScopedNoCriticalErrorPrompts&) = delete;

private:
    DWORD previous_ = 0;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (valid())
            ::FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    [[nodiscard]] bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    [[nodiscard]] HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// "X:\" for drive paths, "\\server\share\" for UNC paths, empty for the current drive.
std::wstring VolumeRoot(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':')
        return Utf8ToWide(path.substr(0, 2)) + L"\\";
    if (path.starts_with("\\\\")) {
        const std::size_t serverEnd = path.find('\\', 2);
        if (serverEnd == std::string_view::npos)
            return Utf8ToWide(path) + L"\\";
        const std::size_t shareEnd = path.find('\\', serverEnd + 1);
        return Utf8ToWide(path.substr(0, shareEnd)) + L"\\";
    }
    return {};
}

} // namespace

bool ListFolder(const std::string& folder, const std::function<void(const FolderEntry&)>& visit) {
    std::wstring pattern = Utf8ToWide(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/' &&
        pattern.back() != L':')
        pattern.push_back(L'\\');
    pattern.push_back(L'*');

    ScopedNoCriticalErrorPrompts noPrompts;
    WIN32_FIND_DATAW data{};
    const FindHandle find(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr, 0));
    if (!find.valid())
        return false;
    do {
        const std::wstring_view name(data.cFileName);
        if (name == L"." || name == L"..")
            continue;
        FolderEntry entry;
        entry.name = WideToUtf8(name);
        const DWORD attributes = data.dwFileAttributes;
        entry.ordinaryFile = (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
        entry.hidden = (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        entry.system = (attributes & FILE_ATTRIBUTE_SYSTEM) != 0;
        visit(entry);
    } while (::FindNextFileW(find.get(), &data));
    return ::GetLastError() == ERROR_NO_MORE_FILES;
}

bool IsExistingFile(const std::string& path) {
    ScopedNoCriticalErrorPrompts noPrompts;
    const DWORD attributes = ::GetFileAttributesW(Utf8ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool VolumeAnswers(std::string_view path) {
    const std::wstring root = VolumeRoot(path);
    ScopedNoCriticalErrorPrompts noPrompts;
    return ::GetVolumeInformationW(root.empty() ? nullptr : root.c_str(), nullptr, 0, nullptr,
                                   nullptr, nullptr, nullptr, 0) != FALSE;
}

int CompareNamesNoCase(std::string_view a, std::string_view b) {
    const std::wstring wa = Utf8ToWide(a);
    const std::wstring wb = Utf8ToWide(b);
    const int result =
        ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(),
                         static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()));
    if (result == 0) // cannot compare: fall back to code-unit order
        return wa.compare(wb) < 0 ? -1 : (wa.compare(wb) > 0 ? 1 : 0);
    return result - CSTR_EQUAL;
}

} // namespace ostinel::detail
