// File helpers on UTF-8 paths; the same code on every platform, the paths go through
// PathFromUtf8 / OpenFileUtf8 so that non-ASCII names work on Windows.
#include "common/Error.h"
#include "common/Utf.h"
#include "platform/System.h"
#include "platform/SystemDetail.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace ostinel::platform {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void ThrowFileError(std::string_view what, const std::string& path, int error) {
    throw Error(std::string(what) + " \"" + path + "\". " + std::generic_category().message(error));
}

} // namespace

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    errno = 0;
    const detail::FilePtr file = detail::OpenFileUtf8(path, "rb");
    if (!file)
        ThrowFileError("Cannot open file", path, errno);
    std::vector<std::uint8_t> bytes;
    std::array<std::uint8_t, 65536> chunk{};
    while (true) {
        errno = 0;
        const std::size_t count = std::fread(chunk.data(), 1, chunk.size(), file.get());
        bytes.insert(bytes.end(), chunk.begin(),
                     chunk.begin() + static_cast<std::ptrdiff_t>(count));
        if (count < chunk.size()) {
            if (std::ferror(file.get()) != 0)
                ThrowFileError("Cannot read file", path, errno != 0 ? errno : EIO);
            return bytes;
        }
    }
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    errno = 0;
    detail::FilePtr file = detail::OpenFileUtf8(path, "wb");
    if (!file)
        ThrowFileError("Cannot create file", path, errno);
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                         std::fflush(file.get()) == 0;
    const int writeError = errno;
    // Closing flushes the last buffer; its failure (disk full) is a write failure too.
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed)
        ThrowFileError("Cannot write file", path,
                       writeError != 0 ? writeError : (errno != 0 ? errno : EIO));
}

void CreateFolders(const std::string& path) {
    std::error_code error;
    const fs::path folder = PathFromUtf8(path);
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder, error))
        throw Error("Cannot create folder \"" + path + "\". " +
                    (error ? error.message() : std::string("Not a folder")));
}

bool DeleteFile(const std::string& path) {
    std::error_code error;
    const fs::path file = PathFromUtf8(path);
    const fs::file_status status = fs::symlink_status(file, error);
    if (error || !fs::exists(status) || fs::is_directory(status))
        return false;
    return fs::remove(file, error) && !error;
}

std::string GetBuildDate() {
    return FormatShortDate(ModuleModificationDate().value_or(Date{}));
}

} // namespace ostinel::platform
