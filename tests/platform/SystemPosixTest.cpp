// Folder resolution and the settings store on POSIX. Every test runs with HOME and the XDG
// variables pointing into a temp folder: the real user's folders are never touched.
#include "common/Error.h"
#include "common/TempFolder.h"
#include "platform/System.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace ostinel::platform {
namespace {

namespace fs = std::filesystem;

class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const char* name) : name_(name) {
        if (const char* value = std::getenv(name))
            saved_ = value;
    }
    ~ScopedEnvironment() {
        if (saved_)
            ::setenv(name_, saved_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> saved_;
};

class SandboxTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(home());
        ::setenv("HOME", home().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", config().c_str(), 1);
        ::unsetenv("XDG_DOCUMENTS_DIR");
    }

    [[nodiscard]] std::string home() const { return temp_.Utf8("home"); }
    [[nodiscard]] std::string config() const { return temp_.Utf8("config"); }

    static void Write(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }

    static std::string Read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    test::TempFolder temp_;

private:
    ScopedEnvironment home_{"HOME"};
    ScopedEnvironment configHome_{"XDG_CONFIG_HOME"};
    ScopedEnvironment documents_{"XDG_DOCUMENTS_DIR"};
};

// ---- DocumentsFolder ----

using DocumentsFolderTest = SandboxTest;

TEST_F(DocumentsFolderTest, EnvironmentVariableWins) {
    Write(fs::path(config()) / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    ::setenv("XDG_DOCUMENTS_DIR", "/data/Docs/", 1);
    EXPECT_EQ(DocumentsFolder(), "/data/Docs");
    ::setenv("XDG_DOCUMENTS_DIR", "$HOME/Texte", 1);
    EXPECT_EQ(DocumentsFolder(), home() + "/Texte");
}

TEST_F(DocumentsFolderTest, EmptyOrRelativeEnvironmentVariableIsIgnored) {
    for (const char* value : {"", "Docs", "$HOMEDocs"}) {
        SCOPED_TRACE(value);
        ::setenv("XDG_DOCUMENTS_DIR", value, 1);
        EXPECT_EQ(DocumentsFolder(), home() + "/Documents");
    }
}

TEST_F(DocumentsFolderTest, UserDirsFileEntries) {
    struct Case {
        const char* name;
        std::string file;
        std::string expected;
    };
    const std::string h = home();
    const Case cases[] = {
        {"home relative", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", h + "/Dokumente"},
        {"among other entries with comments",
         "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
         "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\nXDG_MUSIC_DIR=\"$HOME/Musik\"\n",
         h + "/Dokumente"},
        {"absolute, blanks around =", "  XDG_DOCUMENTS_DIR = \"/srv/docs\"\n", "/srv/docs"},
        {"non-ASCII with escaped quote",
         "XDG_DOCUMENTS_DIR=\"$HOME/\xC3\x9C"
         "ber \\\"Texte\\\"\"\n",
         h + "/\xC3\x9C"
             "ber \"Texte\""},
        {"last valid line wins",
         "XDG_DOCUMENTS_DIR=\"$HOME/Alt\"\nXDG_DOCUMENTS_DIR=\"$HOME/Neu\"\n", h + "/Neu"},
        {"relative path is invalid", "XDG_DOCUMENTS_DIR=\"Dokumente\"\n", h + "/Documents"},
        {"unquoted is invalid", "XDG_DOCUMENTS_DIR=$HOME/Dokumente\n", h + "/Documents"},
        {"commented out", "#XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", h + "/Documents"},
        {"other variable only", "XDG_DOCUMENTS_DIRX=\"/x\"\n", h + "/Documents"},
        {"garbage", std::string("\0\xFF\x01=\"\n\"", 7), h + "/Documents"},
        {"no file content", "", h + "/Documents"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write(fs::path(config()) / "user-dirs.dirs", c.file);
        EXPECT_EQ(DocumentsFolder(), c.expected);
    }
}

TEST_F(DocumentsFolderTest, UserDirsUnderHomeConfigWithoutXdgConfigHome) {
    ::unsetenv("XDG_CONFIG_HOME");
    Write(fs::path(home()) / ".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(DocumentsFolder(), home() + "/Dokumente");
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1); // not absolute: ignored
    EXPECT_EQ(DocumentsFolder(), home() + "/Dokumente");
}

TEST_F(DocumentsFolderTest, FallbackAndUndeterminable) {
    EXPECT_EQ(DocumentsFolder(), home() + "/Documents");
    ::unsetenv("HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(DocumentsFolder(), "");
    ::setenv("XDG_DOCUMENTS_DIR", "$HOME/Dokumente", 1); // needs HOME
    EXPECT_EQ(DocumentsFolder(), "");
}

// ---- SettingsStore ----

class SettingsStoreTest : public SandboxTest {
protected:
    [[nodiscard]] fs::path keyFolder() const { return fs::path(config()) / "Quorvat" / "Ostinel"; }
    [[nodiscard]] fs::path configFile() const { return keyFolder() / "Config.ini"; }
};

TEST_F(SettingsStoreTest, OpenCreatesTheKeyWithoutValues) {
    const SettingsStore store = SettingsStore::Open("Ostinel");
    EXPECT_TRUE(store.IsOpen());
    EXPECT_TRUE(fs::is_directory(keyFolder()));
    EXPECT_FALSE(fs::exists(configFile()));
    EXPECT_EQ(store.ReadString("Config", "Style"), std::nullopt);
}

TEST_F(SettingsStoreTest, WrittenValuesAreReadBackByAnyStore) {
    SettingsStore store = SettingsStore::Open("Ostinel");
    store.WriteString("Config", "Style", "1");
    store.WriteString("Config", "LowestOctave", "-2");
    store.WriteString("Config", "Style", "3");
    EXPECT_EQ(store.ReadString("Config", "Style"), "3");

    const SettingsStore other = SettingsStore::Open("Ostinel");
    EXPECT_EQ(other.ReadString("Config", "Style"), "3");
    EXPECT_EQ(other.ReadString("Config", "LowestOctave"), "-2");
    EXPECT_EQ(other.ReadString("Config", "style"), "3"); // names ignore case, as in the registry
    EXPECT_EQ(other.ReadString("Config", "Missing"), std::nullopt);
    EXPECT_EQ(other.ReadString("Other", "Style"), std::nullopt);
    EXPECT_EQ(SettingsStore::Open("OtherProduct").ReadString("Config", "Style"), std::nullopt);

    EXPECT_EQ(Read(configFile()), "LowestOctave=-2\nStyle=3\n");
    // Nothing but the settings file is left in the key folder (no temp files).
    EXPECT_EQ(std::distance(fs::directory_iterator(keyFolder()), fs::directory_iterator()), 1);
}

TEST_F(SettingsStoreTest, AwkwardNamesAndValuesRoundTrip) {
    SettingsStore store = SettingsStore::Open("Ostinel");
    const std::pair<std::string, std::string> values[] = {
        {"a=b", "c=d"},
        {"multi\nline", "one\r\ntwo\\n"},
        {"", "default value"},
        {"\xC3\x9C"
         "ber",
         "\xE2\x80\x93 \xC3\xA4"},
        {"empty", ""},
    };
    for (const auto& [name, value] : values)
        store.WriteString("Config", name, value);
    const SettingsStore other = SettingsStore::Open("Ostinel");
    for (const auto& [name, value] : values) {
        SCOPED_TRACE(name);
        EXPECT_EQ(other.ReadString("Config", name), value);
    }
}

TEST_F(SettingsStoreTest, NestedSubkeysBecomeFolders) {
    SettingsStore store = SettingsStore::Open("Ostinel");
    store.WriteString("Skins\\Dark", "Tile", "1");
    EXPECT_TRUE(fs::exists(keyFolder() / "Skins" / "Dark.ini"));
    EXPECT_EQ(store.ReadString("Skins\\Dark", "Tile"), "1");
    store.WriteString("", "Version", "1.00"); // values of the key itself
    EXPECT_EQ(store.ReadString("", "Version"), "1.00");
}

TEST_F(SettingsStoreTest, CorruptFileGivesMissingValuesAndIsRepairedByAWrite) {
    Write(configFile(), std::string("\x00\xFF\xFE garbage\nStyle\n\\q=1\nLowestOctave=\\", 40));
    SettingsStore store = SettingsStore::Open("Ostinel");
    EXPECT_EQ(store.ReadString("Config", "Style"), std::nullopt);
    EXPECT_EQ(store.ReadString("Config", "LowestOctave"), std::nullopt);
    store.WriteString("Config", "Style", "2");
    EXPECT_EQ(store.ReadString("Config", "Style"), "2");
    EXPECT_EQ(Read(configFile()), "Style=2\n");
}

TEST_F(SettingsStoreTest, GoodLinesOfAPartlyDamagedFileStillRead) {
    Write(configFile(), "[Config]\r\n# comment\r\nStyle=4\r\n\x01\x02\r\nLowestOctave=-1\r\n");
    const SettingsStore store = SettingsStore::Open("Ostinel");
    EXPECT_EQ(store.ReadString("Config", "Style"), "4");
    EXPECT_EQ(store.ReadString("Config", "LowestOctave"), "-1");
}

TEST_F(SettingsStoreTest, UnreadableFileGivesMissingValuesAndWritesThrow) {
    fs::create_directories(configFile()); // a folder where the file should be
    SettingsStore store = SettingsStore::Open("Ostinel");
    EXPECT_EQ(store.ReadString("Config", "Style"), std::nullopt);
    EXPECT_THROW(store.WriteString("Config", "Style", "1"), Error);
}

TEST_F(SettingsStoreTest, KeyThatCannotBeCreated) {
    Write(fs::path(config()) / "Quorvat", "a file in the way");
    SettingsStore store = SettingsStore::Open("Ostinel");
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(store.ReadString("Config", "Style"), std::nullopt);
    try {
        store.WriteString("Config", "Style", "1");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr("Software\\Quorvat\\Ostinel"));
    }
}

TEST_F(SettingsStoreTest, ConfigHomeFallsBackToHomeConfig) {
    for (const char* xdg : {"", "relative/config"}) {
        SCOPED_TRACE(xdg);
        ::setenv("XDG_CONFIG_HOME", xdg, 1);
        SettingsStore store = SettingsStore::Open("Ostinel");
        store.WriteString("Config", "Style", "1");
        EXPECT_TRUE(fs::exists(fs::path(home()) / ".config/Quorvat/Ostinel/Config.ini"));
    }
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("HOME");
    EXPECT_FALSE(SettingsStore::Open("Ostinel").IsOpen());
}

TEST_F(SettingsStoreTest, InvalidNamesAreRejected) {
    for (const char* product : {"", ".", "..", "../Evil", "a/b", "a\\b", "a\nb"}) {
        SCOPED_TRACE(product);
        EXPECT_THROW((void)SettingsStore::Open(product), Error);
    }
    SettingsStore store = SettingsStore::Open("Ostinel");
    for (const char* subkey : {"..", "a\\..\\b", "a/b", "\\Config", "Config\\"}) {
        SCOPED_TRACE(subkey);
        EXPECT_EQ(store.ReadString(subkey, "Style"), std::nullopt);
        EXPECT_THROW(store.WriteString(subkey, "Style", "1"), Error);
    }
    EXPECT_THROW(store.WriteString("Config", std::string("a\0b", 3), "1"), Error);
    EXPECT_THROW(store.WriteString("Config", "Style", std::string("1\0", 2)), Error);
    EXPECT_TRUE(fs::is_empty(keyFolder()));
}

TEST_F(SettingsStoreTest, ConcurrentWritersInOneProcessKeepEveryValue) {
    // Two plug-in instances saving different values at the same time.
    auto writeMany = [](const std::string& prefix) {
        SettingsStore store = SettingsStore::Open("Ostinel");
        for (int i = 0; i < 40; ++i)
            store.WriteString("Config", prefix + std::to_string(i), std::to_string(i));
    };
    std::thread first(writeMany, "A");
    std::thread second(writeMany, "B");
    first.join();
    second.join();
    const SettingsStore store = SettingsStore::Open("Ostinel");
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(store.ReadString("Config", "A" + std::to_string(i)), std::to_string(i));
        EXPECT_EQ(store.ReadString("Config", "B" + std::to_string(i)), std::to_string(i));
    }
}

TEST_F(SettingsStoreTest, MovedStoreKeepsTheKey) {
    SettingsStore first = SettingsStore::Open("Ostinel");
    SettingsStore second = std::move(first);
    second.WriteString("Config", "Style", "1");
    EXPECT_EQ(second.ReadString("Config", "Style"), "1");
}

// ---- Module file, dates, locale ----

TEST(PosixModuleTest, ModulePathIsTheRunningExecutable) {
    EXPECT_EQ(fs::canonical(ModulePath()), fs::canonical("/proc/self/exe"));
}

TEST(PosixModuleTest, ModificationDateIsTheLocalFileDate) {
    struct stat info {};
    ASSERT_EQ(::stat("/proc/self/exe", &info), 0);
    std::tm local{};
    ASSERT_NE(::localtime_r(&info.st_mtime, &local), nullptr);
    EXPECT_EQ(ModuleModificationDate(),
              (Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}));
}

TEST(PosixModuleTest, ShortDateIsIsoOrder) {
    EXPECT_EQ(FormatShortDate(Date{2024, 3, 7}), "2024-03-07");
    EXPECT_EQ(FormatShortDate(Date{}), "1899-12-30");
}

class LocaleTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = std::setlocale(LC_NUMERIC, nullptr); }
    void TearDown() override { std::setlocale(LC_NUMERIC, saved_.c_str()); }

private:
    std::string saved_;
};

TEST_F(LocaleTest, DecimalSeparatorFollowsTheProcessLocale) {
    ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr);
    EXPECT_EQ(DecimalSeparator(), '.');
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            EXPECT_EQ(DecimalSeparator(), ',');
            return;
        }
    }
    GTEST_SKIP() << "no locale with a decimal comma is installed";
}

} // namespace
} // namespace ostinel::platform
