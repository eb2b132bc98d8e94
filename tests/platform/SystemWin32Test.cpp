// The registry store and shell folder on Windows (run under wine in CI). Uses a throwaway
// product key that is deleted again, so the user's real Ostinel settings stay untouched.
#include "common/Error.h"
#include "common/Utf.h"
#include "platform/System.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <random>
#include <string>

#ifdef DeleteFile
#undef DeleteFile
#endif

namespace ostinel::platform {
namespace {

class RegistrySettingsTest : public ::testing::Test {
protected:
    void SetUp() override { product_ = "OstinelTest" + std::to_string(std::random_device{}()); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, Utf8ToWide(KeyPath()).c_str()); }

    [[nodiscard]] std::string KeyPath() const { return "Software\\Quorvat\\" + product_; }

    [[nodiscard]] bool KeyExists(const std::string& path) const {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, Utf8ToWide(path).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return false;
        ::RegCloseKey(key);
        return true;
    }

    std::string product_;
};

TEST_F(RegistrySettingsTest, OpenCreatesTheKeyWithoutValues) {
    const SettingsStore store = SettingsStore::Open(product_);
    EXPECT_TRUE(store.IsOpen());
    EXPECT_TRUE(KeyExists(KeyPath()));
    EXPECT_FALSE(KeyExists(KeyPath() + "\\Config"));
    EXPECT_EQ(store.ReadString("Config", "Style"), std::nullopt);
}

TEST_F(RegistrySettingsTest, StringValuesRoundTrip) {
    SettingsStore store = SettingsStore::Open(product_);
    store.WriteString("Config", "Style", "1");
    store.WriteString("Config", "LowestOctave", "-2");
    store.WriteString("Config",
                      "\xC3\x9C"
                      "ber",
                      "\xE2\x80\x93 \xC3\xA4");
    store.WriteString("Config", "Empty", "");
    store.WriteString("Skins\\Dark", "Tile", "1");
    const SettingsStore other = SettingsStore::Open(product_);
    EXPECT_EQ(other.ReadString("Config", "Style"), "1");
    EXPECT_EQ(other.ReadString("Config", "style"), "1");
    EXPECT_EQ(other.ReadString("Config", "LowestOctave"), "-2");
    EXPECT_EQ(other.ReadString("Config", "\xC3\x9C"
                                         "ber"),
              "\xE2\x80\x93 \xC3\xA4");
    EXPECT_EQ(other.ReadString("Config", "Empty"), "");
    EXPECT_EQ(other.ReadString("Skins\\Dark", "Tile"), "1");
    EXPECT_EQ(other.ReadString("Config", "Missing"), std::nullopt);
}

TEST_F(RegistrySettingsTest, ValuesThatAreNotStringsAreMissing) {
    SettingsStore store = SettingsStore::Open(product_);
    store.WriteString("Config", "Style", "1");
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, Utf8ToWide(KeyPath() + "\\Config").c_str(), 0,
                              KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    const DWORD number = 3;
    ::RegSetValueExW(key, L"Style", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                     sizeof(number));
    ::RegCloseKey(key);
    EXPECT_EQ(store.ReadString("Config", "Style"), std::nullopt);
}

TEST_F(RegistrySettingsTest, InvalidNamesAreRejected) {
    EXPECT_THROW((void)SettingsStore::Open("a\\b"), Error);
    SettingsStore store = SettingsStore::Open(product_);
    EXPECT_THROW(store.WriteString("..", "Style", "1"), Error);
    EXPECT_EQ(store.ReadString("a/b", "Style"), std::nullopt);
}

TEST(Win32FoldersTest, DocumentsFolderIsAnExistingFolder) {
    const std::string documents = DocumentsFolder();
    ASSERT_FALSE(documents.empty());
    EXPECT_TRUE(std::filesystem::is_directory(PathFromUtf8(documents)));
}

TEST(Win32LocaleTest, DecimalSeparatorIsAscii) {
    const char separator = DecimalSeparator();
    EXPECT_TRUE(separator == '.' || separator == ',') << separator;
}

} // namespace
} // namespace ostinel::platform
