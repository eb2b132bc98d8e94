// Win32 system services: shell folders, HKEY_CURRENT_USER settings, module file and locale,
// all through the wide-character API (user folders are often non-ASCII).
#include "common/Error.h"
#include "common/Utf.h"
#include "platform/System.h"
#include "platform/SystemDetail.h"

#include "common/win32/WinApi.h"

#include <shlobj.h>

#include <array>
#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>

// windows.h brings the macro back; ours is the namespaced function.
#ifdef DeleteFile
#undef DeleteFile
#endif

namespace ostinel::platform {

namespace {

std::string SystemErrorText(DWORD error) {
    std::array<wchar_t, 512> text{};
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                         0, text.data(), static_cast<DWORD>(text.size()), nullptr);
    std::wstring_view message(text.data(), length);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.remove_suffix(1);
    if (message.empty())
        return "Error " + std::to_string(error);
    return WideToUtf8(message) + ".";
}

class RegistryKey {
public:
    RegistryKey() = default;
    explicit RegistryKey(HKEY key) : key_(key) {}
    ~RegistryKey() { reset(); }
    RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept {
        if (this != &other) {
            reset();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    [[nodiscard]] HKEY get() const { return key_; }
    [[nodiscard]] explicit operator bool() const { return key_ != nullptr; }

private:
    void reset() {
        if (key_ != nullptr)
            ::RegCloseKey(key_);
        key_ = nullptr;
    }
    HKEY key_ = nullptr;
};

} // namespace

// ---- Folders ----

std::string DocumentsFolder() {
    std::array<wchar_t, MAX_PATH> path{};
    if (::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path.data()) !=
        S_OK)
        return {};
    return WideToUtf8(path.data());
}

// ---- Settings ----

struct SettingsStore::Impl {
    std::string product;
    RegistryKey key; // HKCU\Software\Quorvat\<product>, full access; empty when unavailable
};

SettingsStore::SettingsStore(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
SettingsStore::SettingsStore(SettingsStore&&) noexcept = default;
SettingsStore& SettingsStore::operator=(SettingsStore&&) noexcept = default;
SettingsStore::~SettingsStore() = default;

SettingsStore SettingsStore::Open(std::string_view product) {
    detail::CheckProductName(product);
    auto impl = std::make_unique<Impl>();
    impl->product = product;
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, Utf8ToWide(detail::SettingsKeyPath(product)).c_str(),
                          0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) == ERROR_SUCCESS)
        impl->key = RegistryKey(key);
    return SettingsStore(std::move(impl));
}

bool SettingsStore::IsOpen() const noexcept {
    return impl_ && impl_->key;
}

std::optional<std::string> SettingsStore::ReadString(std::string_view subkey,
                                                     std::string_view name) const {
    if (!IsOpen() || !detail::SplitSubkey(subkey) || !detail::IsValidSettingText(name))
        return std::nullopt;
    const std::wstring wideSubkey = Utf8ToWide(subkey);
    const std::wstring wideName = Utf8ToWide(name);
    const wchar_t* subkeyArgument = wideSubkey.empty() ? nullptr : wideSubkey.c_str();
    // Another writer may grow the value between the size query and the read: retry.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        if (::RegGetValueW(impl_->key.get(), subkeyArgument, wideName.c_str(), RRF_RT_REG_SZ,
                           nullptr, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bufferSize = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        const LSTATUS status = ::RegGetValueW(impl_->key.get(), subkeyArgument, wideName.c_str(),
                                              RRF_RT_REG_SZ, nullptr, buffer.data(), &bufferSize);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        buffer.resize(::wcsnlen(buffer.c_str(), bufferSize / sizeof(wchar_t)));
        return WideToUtf8(buffer);
    }
    return std::nullopt;
}

void SettingsStore::WriteString(std::string_view subkey, std::string_view name,
                                std::string_view value) {
    const std::string keyPath = detail::SettingsKeyPath(impl_ ? impl_->product : "");
    if (!IsOpen())
        throw Error("Cannot open the settings key \"" + keyPath + "\"");
    if (!detail::SplitSubkey(subkey))
        throw Error("Invalid settings key name \"" + std::string(subkey) + "\"");
    if (!detail::IsValidSettingText(name) || !detail::IsValidSettingText(value))
        throw Error("Invalid setting \"" + std::string(name) + "\"");

    RegistryKey subkeyHandle;
    HKEY target = impl_->key.get();
    if (!subkey.empty()) {
        HKEY created = nullptr;
        const LSTATUS status =
            ::RegCreateKeyExW(impl_->key.get(), Utf8ToWide(subkey).c_str(), 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &created, nullptr);
        if (status != ERROR_SUCCESS)
            throw Error("Cannot create the settings key \"" + keyPath + "\\" + std::string(subkey) +
                        "\". " + SystemErrorText(static_cast<DWORD>(status)));
        subkeyHandle = RegistryKey(created);
        target = created;
    }
    const std::wstring wideValue = Utf8ToWide(value);
    const auto byteCount = static_cast<DWORD>((wideValue.size() + 1) * sizeof(wchar_t));
    const LSTATUS status =
        ::RegSetValueExW(target, Utf8ToWide(name).c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(wideValue.c_str()), byteCount);
    if (status != ERROR_SUCCESS)
        throw Error("Cannot write setting \"" + std::string(name) + "\" to \"" + keyPath + "\". " +
                    SystemErrorText(static_cast<DWORD>(status)));
}

// ---- The module's own file ----

namespace {
const char kModuleAnchor = 0; // an address inside this module
} // namespace

std::string ModulePath() {
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(&kModuleAnchor), &module))
        return {};
    // Long paths do not fit MAX_PATH: grow until the name is not truncated.
    std::wstring buffer(MAX_PATH, L'\0');
    while (buffer.size() <= 65536) {
        const DWORD length =
            ::GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return WideToUtf8(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

std::optional<Date> ModuleModificationDate() {
    const std::string path = ModulePath();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() ||
        !::GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    if (!::FileTimeToSystemTime(&data.ftLastWriteTime, &utc) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return std::nullopt;
    return Date{local.wYear, local.wMonth, local.wDay};
}

std::string FormatShortDate(const Date& date) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(date.year);
    time.wMonth = static_cast<WORD>(date.month);
    time.wDay = static_cast<WORD>(date.day);
    std::array<wchar_t, 128> text{};
    if (::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text.data(),
                         static_cast<int>(text.size())) > 0)
        return WideToUtf8(text.data());
    std::array<char, 32> fallback{};
    std::snprintf(fallback.data(), fallback.size(), "%04d-%02d-%02d", date.year, date.month,
                  date.day);
    return fallback.data();
}

// ---- Files ----

detail::FilePtr detail::OpenFileUtf8(const std::string& path, const char* mode) {
    return FilePtr(::_wfopen(Utf8ToWide(path).c_str(), Utf8ToWide(mode).c_str()));
}

// ---- Locale and time ----

char DecimalSeparator() {
    std::array<wchar_t, 8> text{};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text.data(),
                         static_cast<int>(text.size())) <= 0)
        return '.';
    const wchar_t first = text[0];
    return first != 0 && first < 0x80 ? static_cast<char>(first) : '.';
}

std::uint32_t HighResolutionCounterLow32() noexcept {
    LARGE_INTEGER counter{};
    if (::QueryPerformanceCounter(&counter))
        return static_cast<std::uint32_t>(counter.QuadPart);
    return static_cast<std::uint32_t>(::GetTickCount());
}

} // namespace ostinel::platform
