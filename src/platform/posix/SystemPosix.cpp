// POSIX (Linux) system services: XDG folders, settings as small text files, dladdr for the
// module path.
#include "common/Error.h"
#include "platform/System.h"
#include "platform/SystemDetail.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace ostinel::platform {

namespace fs = std::filesystem;

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// "$HOME" or "$HOME/..." with the home folder put in; nullopt when HOME is needed but unset.
std::optional<std::string> ExpandHome(std::string_view path, const std::string& home) {
    constexpr std::string_view kHome = "$HOME";
    if (!path.starts_with(kHome) || (path.size() > kHome.size() && path[kHome.size()] != '/'))
        return std::string(path);
    if (home.empty())
        return std::nullopt;
    return home + std::string(path.substr(kHome.size()));
}

std::optional<std::string> ReadSmallTextFile(const fs::path& file) {
    const detail::FilePtr in = detail::OpenFileUtf8(file.native(), "rb");
    if (!in)
        return std::nullopt;
    std::string text;
    std::array<char, 4096> chunk{};
    std::size_t count = 0;
    while ((count = std::fread(chunk.data(), 1, chunk.size(), in.get())) > 0)
        text.append(chunk.data(), count);
    if (std::ferror(in.get()) != 0)
        return std::nullopt;
    return text;
}

// The XDG_DOCUMENTS_DIR line of user-dirs.dirs, read the way xdg-user-dir does:
// XDG_DOCUMENTS_DIR="$HOME/Documents" or an absolute path in quotes, "\" escaping the next
// character. The last valid line wins.
std::optional<std::string> DocumentsFromUserDirs(const std::string& text, const std::string& home) {
    std::optional<std::string> result;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        std::string_view line(text.data() + lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;

        auto skipBlanks = [&line] {
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
                line.remove_prefix(1);
        };
        skipBlanks();
        constexpr std::string_view kName = "XDG_DOCUMENTS_DIR";
        if (!line.starts_with(kName))
            continue;
        line.remove_prefix(kName.size());
        skipBlanks();
        if (!line.starts_with('='))
            continue;
        line.remove_prefix(1);
        skipBlanks();
        if (!line.starts_with('"'))
            continue;
        line.remove_prefix(1);

        std::string value;
        if (line.starts_with("$HOME/") || line.starts_with("$HOME\"")) {
            if (home.empty())
                continue;
            value = home;
            line.remove_prefix(5);
        } else if (!line.starts_with('/')) {
            continue;
        }
        for (std::size_t i = 0; i < line.size() && line[i] != '"'; ++i) {
            if (line[i] == '\\' && i + 1 < line.size())
                ++i;
            value.push_back(line[i]);
        }
        if (!value.empty())
            result = WithoutTrailingSlashes(value);
    }
    return result;
}

std::string ConfigHome() {
    const std::string xdg = Environment("XDG_CONFIG_HOME");
    if (!xdg.empty() && xdg.front() == '/') // relative values are ignored, as XDG says
        return xdg;
    const std::string home = Environment("HOME");
    return home.empty() ? std::string() : WithoutTrailingSlashes(home) + "/.config";
}

// ---- settings files ----

// Writers in this process take turns so that two instances changing different values of one
// file do not lose each other's update.
std::mutex gSettingsWriteMutex;

bool SameNameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

struct Setting {
    std::string name;
    std::string value;
};

constexpr std::uintmax_t kMaxSettingsFileSize = 1 << 20;

void AppendEscaped(std::string& out, std::string_view text, bool isName) {
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '=':
            out += isName ? "\\=" : "=";
            break;
        default:
            out.push_back(c);
        }
    }
}

// Undoes AppendEscaped up to an unescaped `stop` character (or the end when stop is 0).
// Returns the position after the text, or npos when an escape is malformed.
std::size_t Unescape(std::string_view line, std::size_t pos, char stop, std::string& out) {
    while (pos < line.size() && !(stop != '\0' && line[pos] == stop)) {
        if (line[pos] != '\\') {
            out.push_back(line[pos++]);
            continue;
        }
        if (pos + 1 >= line.size())
            return std::string_view::npos;
        switch (line[pos + 1]) {
        case '\\':
            out.push_back('\\');
            break;
        case 'n':
            out.push_back('\n');
            break;
        case 'r':
            out.push_back('\r');
            break;
        case '=':
            out.push_back('=');
            break;
        default:
            return std::string_view::npos;
        }
        pos += 2;
    }
    if (stop != '\0' && pos >= line.size())
        return std::string_view::npos;
    return pos;
}

// Lines that do not read as name=value are skipped; a file that cannot be read gives nothing.
std::vector<Setting> ReadSettingsFile(const fs::path& file) {
    std::vector<Setting> settings;
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error || size > kMaxSettingsFileSize)
        return settings;
    const std::optional<std::string> text = ReadSmallTextFile(file);
    if (!text)
        return settings;
    std::string_view rest(*text);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#' || line.front() == ';' || line.front() == '[')
            continue;
        Setting setting;
        const std::size_t equals = Unescape(line, 0, '=', setting.name);
        if (equals == std::string_view::npos)
            continue;
        if (Unescape(line, equals + 1, '\0', setting.value) == std::string_view::npos)
            continue;
        settings.push_back(std::move(setting));
    }
    return settings;
}

std::string SerializeSettings(const std::vector<Setting>& settings) {
    std::string text;
    for (const Setting& setting : settings) {
        AppendEscaped(text, setting.name, true);
        text.push_back('=');
        AppendEscaped(text, setting.value, false);
        text.push_back('\n');
    }
    return text;
}

[[noreturn]] void ThrowSettingError(std::string_view name, const fs::path& file, int error) {
    throw Error("Cannot write setting \"" + std::string(name) + "\" to \"" + file.native() +
                "\". " + std::generic_category().message(error));
}

// Temp file beside the target, then rename: readers see the old file or the new one.
void ReplaceFileAtomically(const fs::path& file, const std::string& text, std::string_view name) {
    std::string tempName = file.native() + ".XXXXXX";
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0)
        ThrowSettingError(name, file, errno);
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(fd, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            const int error = count < 0 ? errno : EIO;
            ::close(fd);
            ::unlink(tempName.c_str());
            ThrowSettingError(name, file, error);
        }
        written += static_cast<std::size_t>(count);
    }
    const bool synced = ::fsync(fd) == 0;
    const int syncError = errno;
    if (::close(fd) != 0 || !synced) {
        const int error = synced ? errno : syncError;
        ::unlink(tempName.c_str());
        ThrowSettingError(name, file, error);
    }
    if (::rename(tempName.c_str(), file.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempName.c_str());
        ThrowSettingError(name, file, error);
    }
}

} // namespace

// ---- Folders ----

std::string DocumentsFolder() {
    const std::string home = WithoutTrailingSlashes(Environment("HOME"));
    const std::string fromEnvironment = Environment("XDG_DOCUMENTS_DIR");
    if (!fromEnvironment.empty()) {
        // Only absolute paths count, as in user-dirs.dirs.
        if (auto expanded = ExpandHome(fromEnvironment, home);
            expanded && expanded->starts_with('/'))
            return WithoutTrailingSlashes(*expanded);
    }
    const std::string configHome = ConfigHome();
    if (!configHome.empty()) {
        if (const auto text = ReadSmallTextFile(fs::path(configHome) / "user-dirs.dirs")) {
            if (auto documents = DocumentsFromUserDirs(*text, home))
                return *documents;
        }
    }
    return home.empty() ? std::string() : home + "/Documents";
}

// ---- Settings ----

struct SettingsStore::Impl {
    std::string product;
    fs::path keyFolder; // empty when the key could not be opened

    // <key>/<A>/<B>.ini for sub-key "A\B"; the key's own values live in <key>/.ini.
    [[nodiscard]] std::optional<fs::path> SubkeyFile(std::string_view subkey) const {
        const auto parts = detail::SplitSubkey(subkey);
        if (!parts)
            return std::nullopt;
        fs::path file = keyFolder;
        for (std::size_t i = 0; i + 1 < parts->size(); ++i)
            file /= (*parts)[i];
        file /= (parts->empty() ? std::string() : parts->back()) + ".ini";
        return file;
    }
};

SettingsStore::SettingsStore(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
SettingsStore::SettingsStore(SettingsStore&&) noexcept = default;
SettingsStore& SettingsStore::operator=(SettingsStore&&) noexcept = default;
SettingsStore::~SettingsStore() = default;

SettingsStore SettingsStore::Open(std::string_view product) {
    detail::CheckProductName(product);
    auto impl = std::make_unique<Impl>();
    impl->product = product;
    const std::string configHome = ConfigHome();
    if (!configHome.empty()) {
        const fs::path folder = fs::path(configHome) / "Quorvat" / std::string(product);
        std::error_code error;
        fs::create_directories(folder, error);
        if (!error && fs::is_directory(folder, error))
            impl->keyFolder = folder;
    }
    return SettingsStore(std::move(impl));
}

bool SettingsStore::IsOpen() const noexcept {
    return impl_ && !impl_->keyFolder.empty();
}

std::optional<std::string> SettingsStore::ReadString(std::string_view subkey,
                                                     std::string_view name) const {
    if (!IsOpen())
        return std::nullopt;
    const auto file = impl_->SubkeyFile(subkey);
    if (!file)
        return std::nullopt;
    std::optional<std::string> found;
    for (Setting& setting : ReadSettingsFile(*file)) {
        if (SameNameIgnoringAsciiCase(setting.name, name))
            found = std::move(setting.value); // a later line overrides an earlier one
    }
    return found;
}

void SettingsStore::WriteString(std::string_view subkey, std::string_view name,
                                std::string_view value) {
    if (!IsOpen())
        throw Error("Cannot open the settings key \"" +
                    detail::SettingsKeyPath(impl_ ? impl_->product : "") + "\"");
    const auto file = impl_->SubkeyFile(subkey);
    if (!file)
        throw Error("Invalid settings key name \"" + std::string(subkey) + "\"");
    if (!detail::IsValidSettingText(name) || !detail::IsValidSettingText(value))
        throw Error("Invalid setting \"" + std::string(name) + "\"");

    const std::lock_guard lock(gSettingsWriteMutex);
    std::error_code error;
    fs::create_directories(file->parent_path(), error);
    if (error)
        ThrowSettingError(name, *file, error.value());

    std::vector<Setting> settings = ReadSettingsFile(*file);
    std::erase_if(settings,
                  [name](const Setting& s) { return SameNameIgnoringAsciiCase(s.name, name); });
    settings.push_back({std::string(name), std::string(value)});
    ReplaceFileAtomically(*file, SerializeSettings(settings), name);
}

// ---- The module's own file ----

namespace {
const char kModuleAnchor = 0; // an address inside this module
} // namespace

std::string ModulePath() {
    Dl_info info{};
    if (::dladdr(&kModuleAnchor, &info) != 0 && info.dli_fname != nullptr &&
        info.dli_fname[0] != '\0') {
        const std::string name = info.dli_fname;
        if (name.front() == '/')
            return name;
        // A library loaded by a relative path; a bare name is the main program's argv[0].
        if (name.find('/') != std::string::npos) {
            std::error_code error;
            const fs::path absolute = fs::absolute(name, error);
            if (!error)
                return absolute.native();
        }
    }
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.native();
}

std::optional<Date> ModuleModificationDate() {
    const std::string path = ModulePath();
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    std::tm local{};
    if (::localtime_r(&info.st_mtime, &local) == nullptr)
        return std::nullopt;
    return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string FormatShortDate(const Date& date) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d", date.year, date.month, date.day);
    return text.data();
}

// ---- Files ----

detail::FilePtr detail::OpenFileUtf8(const std::string& path, const char* mode) {
    return FilePtr(std::fopen(path.c_str(), mode));
}

// ---- Locale and time ----

char DecimalSeparator() {
    // localeconv reflects whatever locale the host set; read on the GUI thread only.
    const std::lconv* conventions = std::localeconv();
    if (conventions == nullptr || conventions->decimal_point == nullptr)
        return '.';
    const auto first = static_cast<unsigned char>(conventions->decimal_point[0]);
    return first != 0 && first < 0x80 ? static_cast<char>(first) : '.';
}

std::uint32_t HighResolutionCounterLow32() noexcept {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const auto nanoseconds = static_cast<std::uint64_t>(now.tv_sec) * 1'000'000'000U +
                             static_cast<std::uint64_t>(now.tv_nsec);
    return static_cast<std::uint32_t>(nanoseconds);
}

} // namespace ostinel::platform
