#pragma once
// Non-GUI system services: user folders, the per-user settings store, the module's own file,
// file access with UTF-8 paths, the locale's decimal separator and a counter for seeding.
// One implementation per platform (win32/, posix/). Texts and paths are UTF-8 throughout.
//
// Threads: GUI thread, except HighResolutionCounterLow32 (any thread). Nothing here is for the
// audio thread.
#include "common/QelCommon.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// windows.h maps DeleteFile to DeleteFileA/W; ours lives in a namespace and keeps its name.
#if defined(_WIN32) && defined(DeleteFile)
#undef DeleteFile
#endif

namespace ostinel::platform {

// ---- Folders ---------------------------------------------------------------------------

// The separator to put between folder names in paths built for this platform.
#ifdef _WIN32
inline constexpr char kPathDelimiter = '\\';
#else
inline constexpr char kPathDelimiter = '/';
#endif

// The user's documents folder without a trailing separator; empty when it cannot be
// determined. Windows: the shell's personal folder. POSIX: $XDG_DOCUMENTS_DIR (absolute), else
// XDG_DOCUMENTS_DIR in user-dirs.dirs ($XDG_CONFIG_HOME, else $HOME/.config; "$HOME/..."
// expanded), else $HOME/Documents.
[[nodiscard]] std::string DocumentsFolder();

// ---- Settings --------------------------------------------------------------------------

// The per-user store of key "Software\Quorvat\<product>" and its sub-keys holding string
// values. Windows: HKEY_CURRENT_USER. POSIX: one text file per sub-key,
// $XDG_CONFIG_HOME (else $HOME/.config)/Quorvat/<product>/<subkey>.ini with "name=value" lines;
// "A\B" sub-keys become folders. Value names match ignoring ASCII case, as in the registry.
// Several instances may share a store; each write replaces the file atomically.
class SettingsStore {
public:
    // Opens the key, creating it when missing. Never fails on the storage itself: when the key
    // cannot be opened or created, reads find nothing and writes throw. Throws ostinel::Error
    // for a product name that cannot be a key name (empty, ".", "..", containing "\" or "/",
    // or control characters).
    [[nodiscard]] static SettingsStore Open(std::string_view product);

    SettingsStore(SettingsStore&&) noexcept;
    SettingsStore& operator=(SettingsStore&&) noexcept;
    ~SettingsStore();

    // Whether the key exists and could be opened.
    [[nodiscard]] bool IsOpen() const noexcept;

    // The string value `name` under `subkey`; nullopt when the key, the sub-key or the value
    // is missing, is not a string, or the storage is unreadable or corrupt.
    [[nodiscard]] std::optional<std::string> ReadString(std::string_view subkey,
                                                        std::string_view name) const;

    // Stores a string value, creating the sub-key when missing. Throws ostinel::Error when it
    // cannot be written or a name is invalid.
    void WriteString(std::string_view subkey, std::string_view name, std::string_view value);

private:
    struct Impl;
    explicit SettingsStore(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// ---- The module's own file -------------------------------------------------------------

// Path of the library (or executable) this code is linked into; empty when unknown.
[[nodiscard]] std::string ModulePath();

struct Date {
    int year = 1899;
    int month = 12;
    int day = 30;
    friend bool operator==(const Date&, const Date&) = default;
};

// Local last-modification date of ModulePath(); nullopt when the file cannot be found.
[[nodiscard]] std::optional<Date> ModuleModificationDate();

// A date in the user's short date format (Windows) or as yyyy-mm-dd (POSIX).
[[nodiscard]] std::string FormatShortDate(const Date& date);

// The module's modification date as a short date; the zero date (30 December 1899) when the
// file cannot be found.
[[nodiscard]] std::string GetBuildDate();

// ---- Files -----------------------------------------------------------------------------

// Whole file contents. Throws ostinel::Error naming the file and the reason.
[[nodiscard]] std::vector<std::uint8_t> ReadFile(const std::string& path);

// Creates or replaces the file. Throws ostinel::Error naming the file and the reason.
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Whether something that is not a folder exists at `path` (one check, kept with the other
// file helpers in common).
using ostinel::FileExists;

// Creates the folder and its missing parents; an existing folder is fine. Throws
// ostinel::Error when it cannot be created.
void CreateFolders(const std::string& path);

// Deletes a file (never a folder); false when there was nothing to delete or it failed.
[[nodiscard]] bool DeleteFile(const std::string& path);

// ---- Locale and time -------------------------------------------------------------------

// The user's decimal separator as one ASCII character ('.' when it is not ASCII).
[[nodiscard]] char DecimalSeparator();

// Low 32 bits of a fast-running counter; only for seeding the random generator.
[[nodiscard]] std::uint32_t HighResolutionCounterLow32() noexcept;

} // namespace ostinel::platform
