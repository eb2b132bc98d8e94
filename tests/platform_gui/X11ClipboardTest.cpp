// The Linux clipboard store: one entry in a per-user file, shared by every instance, robust
// against damaged files. HOME and the XDG variables point into a temp folder throughout.
#include "platform/x11/ClipboardStore.h"
#include "platform_gui/ScopedEnvironment.h"

#include "common/Error.h"
#include "common/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace ostinel::platform::x11 {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using test::ScopedEnvironment;

struct StoreFixture : ::testing::Test {
    ostinel::test::TempFolder folder;
    ScopedEnvironment runtime{"XDG_RUNTIME_DIR", folder.Utf8("run")};
    ScopedEnvironment cache{"XDG_CACHE_HOME", folder.Utf8("cache")};
    ScopedEnvironment home{"HOME", folder.Utf8("home")};
    FileClipboard clipboard;

    [[nodiscard]] fs::path StoreFile() const {
        return folder.path() / "run/Quorvat/Ostinel/clipboard";
    }
    void WriteStoreFile(const Bytes& bytes) const {
        fs::create_directories(StoreFile().parent_path());
        std::ofstream(StoreFile(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
};

TEST_F(StoreFixture, FolderFollowsTheXdgVariables) {
    EXPECT_EQ(ClipboardFilePath(), folder.Utf8("run/Quorvat/Ostinel/clipboard"));
    {
        ScopedEnvironment noRuntime{"XDG_RUNTIME_DIR", std::nullopt};
        EXPECT_EQ(ClipboardFilePath(), folder.Utf8("cache/Quorvat/Ostinel/clipboard"));
        ScopedEnvironment relativeCache{"XDG_CACHE_HOME", "relative/cache"};
        EXPECT_EQ(ClipboardFilePath(), folder.Utf8("home/.cache/Quorvat/Ostinel/clipboard"));
        ScopedEnvironment noHome{"HOME", std::nullopt};
        EXPECT_EQ(ClipboardFilePath(), "");
        EXPECT_FALSE(clipboard.GetText());
        EXPECT_THROW(clipboard.SetText("x"), Error);
    }
}

TEST_F(StoreFixture, EmptyStoreOffersNothing) {
    EXPECT_FALSE(clipboard.GetText());
    EXPECT_FALSE(clipboard.HasFormat("OstinelChannel"));
    EXPECT_FALSE(clipboard.GetData("OstinelChannel"));
}

// Another instance (or process) sees the entry: the file is the clipboard.
TEST_F(StoreFixture, HoldsOneEntrySharedByAllInstances) {
    FileClipboard other;
    clipboard.SetData("OstinelChannel", {0, 1, 2, 255});
    EXPECT_TRUE(other.HasFormat("OstinelChannel"));
    EXPECT_EQ(other.GetData("OstinelChannel"), (Bytes{0, 1, 2, 255}));
    EXPECT_FALSE(other.GetText());
    EXPECT_FALSE(other.GetData("OstinelChannel2"));

    other.SetText("Dur \xC3\xBC");
    EXPECT_EQ(clipboard.GetText(), "Dur \xC3\xBC");
    EXPECT_FALSE(clipboard.HasFormat("OstinelChannel"));

    clipboard.SetData("OstinelChannel", {});
    EXPECT_EQ(other.GetData("OstinelChannel"), Bytes{});

    struct stat info {};
    ASSERT_EQ(::stat(StoreFile().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "the clipboard is private to the user";
    EXPECT_EQ(
        std::distance(fs::directory_iterator(StoreFile().parent_path()), fs::directory_iterator()),
        1)
        << "no temporary files left behind";
}

TEST_F(StoreFixture, InvalidFormatNamesAreRefused) {
    clipboard.SetText("kept");
    EXPECT_THROW(clipboard.SetData("", {1}), Error);
    EXPECT_THROW(clipboard.SetData("a\x01", {1}), Error);
    EXPECT_FALSE(clipboard.HasFormat(""));
    EXPECT_EQ(clipboard.GetText(), "kept");
}

TEST_F(StoreFixture, UnwritableStoreThrows) {
    fs::create_directories(folder.path() / "run/Quorvat");
    std::ofstream(folder.path() / "run/Quorvat/Ostinel") << "a file where the folder belongs";
    EXPECT_THROW(clipboard.SetText("x"), Error);
    EXPECT_FALSE(clipboard.GetText());
}

TEST(ClipboardEntryCoding, RoundTrips) {
    for (const ClipboardEntry& entry :
         {ClipboardEntry{true, "", {}}, ClipboardEntry{true, "", {'h', 'i'}},
          ClipboardEntry{false, "OstinelChannel", {0, 0, 0}},
          ClipboardEntry{false, std::string(255, 'n'), Bytes(1000, 7)}}) {
        const auto decoded = DecodeClipboardEntry(EncodeClipboardEntry(entry));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->isText, entry.isText);
        EXPECT_EQ(decoded->formatName, entry.formatName);
        EXPECT_EQ(decoded->bytes, entry.bytes);
    }
}

// Whatever lies in the file, reading gives an entry or nothing, and never reads past it.
TEST_F(StoreFixture, DamagedFilesGiveNothing) {
    const Bytes good = EncodeClipboardEntry({false, "Fmt", {1, 2, 3}});
    const std::size_t magic = good.size() - 1 - 4 - 3 - 4 - 3;
    auto with = [&](std::size_t at, std::uint8_t value) {
        Bytes b = good;
        b.at(at) = value;
        return b;
    };
    struct Case {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"Empty", {}},
        {"MagicOnly", Bytes(good.begin(), good.begin() + static_cast<long>(magic))},
        {"WrongMagic", with(0, 'X')},
        {"UnknownKind", with(magic, 'Q')},
        {"NameLongerThanTheFile", with(magic + 1, 200)},
        {"NameTooLong", with(magic + 2, 1)},
        {"ControlCharacterInName", with(magic + 5, '\n')},
        {"SizeLongerThanTheFile", with(magic + 8, 4)},
        {"SizeHuge", with(magic + 11, 0xFF)},
        {"Truncated", Bytes(good.begin(), good.end() - 1)},
        {"TrailingBytes",
         [&] {
             Bytes b = good;
             b.push_back(0);
             return b;
         }()},
        {"TextWithAName", EncodeClipboardEntry({true, "Fmt", {}})},
        {"DataWithoutAName", EncodeClipboardEntry({false, "", {1}})},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(DecodeClipboardEntry(c.file)) << c.name;
        WriteStoreFile(c.file);
        EXPECT_FALSE(clipboard.GetData("Fmt")) << c.name;
        EXPECT_FALSE(clipboard.GetText()) << c.name;
    }
    WriteStoreFile(good);
    EXPECT_EQ(clipboard.GetData("Fmt"), (Bytes{1, 2, 3}));
}

TEST_F(StoreFixture, AFolderInPlaceOfTheFileGivesNothing) {
    fs::create_directories(StoreFile());
    EXPECT_FALSE(clipboard.GetText());
}

} // namespace
} // namespace ostinel::platform::x11
