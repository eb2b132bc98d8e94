#include "editor/menu/PresetFile.h"

#include "common/Error.h"
#include "common/QelCommon.h"
#include "common/Utf.h"
#include "platform/System.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#ifdef _WIN32
#include "common/win32/WinApi.h"
#else
#include <unistd.h>
#endif

namespace ostinel {

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsReservedDeviceName(std::string_view stem) {
    static constexpr std::array<std::string_view, 6> kFixed = {"CON", "PRN",    "AUX",
                                                               "NUL", "CONIN$", "CONOUT$"};
    for (const std::string_view name : kFixed) {
        if (EqualsNoCase(stem, name)) {
            return true;
        }
    }
    if (stem.size() < 4) {
        return false;
    }
    const std::string_view prefix = stem.substr(0, 3);
    if (!EqualsNoCase(prefix, "COM") && !EqualsNoCase(prefix, "LPT")) {
        return false;
    }
    const std::string_view digit = stem.substr(3);
    // 1-9, and the superscripts 1, 2, 3 (UTF-8) that Windows reserves as well.
    return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xC2\xB9" ||
           digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

[[noreturn]] void ThrowWriteError(const std::string& path, const std::string& reason) {
    throw Error("Cannot write file \"" + path + "\". " + reason);
}

std::string ErrnoText(int error) {
    return std::generic_category().message(error != 0 ? error : EIO);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::unique_ptr<std::FILE, FileCloser> OpenForWriting(const std::string& path) {
#ifdef _WIN32
    return std::unique_ptr<std::FILE, FileCloser>(_wfopen(Utf8ToWide(path).c_str(), L"wb"));
#else
    return std::unique_ptr<std::FILE, FileCloser>(std::fopen(path.c_str(), "wb"));
#endif
}

void RemoveQuietly(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(PathFromUtf8(path), ignored);
}

// Writes and flushes the temporary file to the disk; false with errno set on failure.
bool WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes, int& error) {
    errno = 0;
    auto file = OpenForWriting(path);
    if (!file) {
        error = errno;
        return false;
    }
    errno = 0;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
              std::fflush(file.get()) == 0;
#ifndef _WIN32
    ok = ok && ::fsync(::fileno(file.get())) == 0;
#endif
    error = errno;
    // Closing flushes what is left; its failure (disk full) is a write failure too.
    errno = 0;
    if (std::fclose(file.release()) != 0 && ok) {
        ok = false;
        error = errno;
    }
    return ok;
}

} // namespace

std::string MakePresetFileName(std::string_view typed) {
    std::size_t first = 0;
    std::size_t last = typed.size();
    while (first < last && IsBlank(typed[first])) {
        ++first;
    }
    while (last > first && IsBlank(typed[last - 1])) {
        --last;
    }
    std::string name = SanitizeFileName(typed.substr(first, last - first));
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '_';
        }
    }
    if (name.empty()) {
        return name;
    }
    // Windows ignores what follows the first dot and trailing blanks of the stem when it
    // recognises a device name ("NUL .txt" is NUL).
    std::size_t stemEnd = name.find('.');
    if (stemEnd == std::string::npos) {
        stemEnd = name.size();
    }
    std::size_t stemTrimmed = stemEnd;
    while (stemTrimmed > 0 && name[stemTrimmed - 1] == ' ') {
        --stemTrimmed;
    }
    if (IsReservedDeviceName(std::string_view(name).substr(0, stemTrimmed))) {
        name.insert(stemTrimmed, "_");
    }
    // Windows drops trailing dots and blanks from file names; the name must survive whole.
    if (name.back() == '.' || name.back() == ' ') {
        name += '_';
    }
    return name;
}

void WriteFileReplacing(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    // A hidden name that the preset mask does not match, unique enough for two instances
    // saving at the same moment.
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp",
                  static_cast<unsigned>(platform::HighResolutionCounterLow32()));
    const std::string temp = folder + "." + file + suffix;

    int error = 0;
    if (!WriteAll(temp, bytes, error)) {
        RemoveQuietly(temp);
        ThrowWriteError(path, ErrnoText(error));
    }
#ifdef _WIN32
    if (!MoveFileExW(Utf8ToWide(temp).c_str(), Utf8ToWide(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        RemoveQuietly(temp);
        ThrowWriteError(path, std::system_category().message(static_cast<int>(code)));
    }
#else
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        RemoveQuietly(temp);
        ThrowWriteError(path, ErrnoText(renameError));
    }
#endif
}

} // namespace ostinel
