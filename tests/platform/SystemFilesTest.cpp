// File helpers and module queries; portable, so they also run against the Windows build.
#include "common/Error.h"
#include "common/TempFolder.h"
#include "common/Utf.h"
#include "platform/System.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace ostinel::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::HasSubstr;

const std::string kNonAsciiFolder = "Dokumente \xC3\x84\xC3\x96\xC3\x9C \xE6\x97\xA5\xE6\x9C\xAC";
const std::string kNonAsciiFile = "\xC3\x96lbild \xE2\x9C\x93.quorvatp";

Bytes Pattern(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

class SystemFilesTest : public ::testing::Test {
protected:
    test::TempFolder temp_;
};

TEST_F(SystemFilesTest, WriteThenReadRoundTripsUnderNonAsciiNames) {
    const std::string folder = temp_.Utf8(kNonAsciiFolder + "/Quorvat/Ostinel/Presets");
    CreateFolders(folder);
    const std::string file = folder + "/" + kNonAsciiFile;
    // Sizes around the reader's chunk size catch a lost or repeated tail.
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{65535},
                                   std::size_t{65536}, std::size_t{65537}, std::size_t{200000}}) {
        SCOPED_TRACE(size);
        const Bytes bytes = Pattern(size);
        WriteFile(file, bytes);
        EXPECT_TRUE(FileExists(file));
        EXPECT_EQ(ReadFile(file), bytes);
    }
    // The name on disk is the UTF-8 name we asked for, not a mangled one.
    EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(folder) / PathFromUtf8(kNonAsciiFile)));
}

TEST_F(SystemFilesTest, WriteReplacesALongerFile) {
    const std::string file = temp_.Utf8("state.bin");
    WriteFile(file, Pattern(1000));
    WriteFile(file, Bytes{1, 2, 3});
    EXPECT_EQ(ReadFile(file), (Bytes{1, 2, 3}));
}

TEST_F(SystemFilesTest, ReadFailuresNameTheFile) {
    const std::string missing = temp_.Utf8(kNonAsciiFile);
    try {
        (void)ReadFile(missing);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_THAT(error.what(), HasSubstr(missing));
    }
    // A folder opens on some systems but cannot be read as a file.
    EXPECT_THROW((void)ReadFile(temp_.Utf8()), Error);
}

TEST_F(SystemFilesTest, WriteFailuresNameTheFile) {
    const std::string inMissingFolder = temp_.Utf8("missing/state.bin");
    try {
        WriteFile(inMissingFolder, Bytes{1});
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_THAT(error.what(), HasSubstr(inMissingFolder));
    }
    EXPECT_THROW(WriteFile(temp_.Utf8(), Bytes{1}), Error); // a folder is in the way
}

TEST_F(SystemFilesTest, FileExistsIsFalseForFoldersAndMissingFiles) {
    temp_.AddFile(kNonAsciiFile);
    EXPECT_TRUE(FileExists(temp_.Utf8(kNonAsciiFile)));
    EXPECT_FALSE(FileExists(temp_.Utf8()));
    EXPECT_FALSE(FileExists(temp_.Utf8("missing")));
    EXPECT_FALSE(FileExists(""));
}

TEST_F(SystemFilesTest, CreateFoldersMakesParentsAndAcceptsExistingFolders) {
    const std::string folder = temp_.Utf8(kNonAsciiFolder + "/a/b/c");
    CreateFolders(folder);
    EXPECT_TRUE(std::filesystem::is_directory(PathFromUtf8(folder)));
    EXPECT_NO_THROW(CreateFolders(folder));
    EXPECT_NO_THROW(CreateFolders(folder + "/"));
}

TEST_F(SystemFilesTest, CreateFoldersFailsOverAFile) {
    temp_.AddFile("file");
    try {
        CreateFolders(temp_.Utf8("file/sub"));
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_THAT(error.what(), HasSubstr(temp_.Utf8("file/sub")));
    }
    EXPECT_THROW(CreateFolders(temp_.Utf8("file")), Error);
}

TEST_F(SystemFilesTest, DeleteFileDeletesFilesOnly) {
    temp_.AddFile(kNonAsciiFile);
    EXPECT_TRUE(DeleteFile(temp_.Utf8(kNonAsciiFile)));
    EXPECT_FALSE(FileExists(temp_.Utf8(kNonAsciiFile)));
    EXPECT_FALSE(DeleteFile(temp_.Utf8(kNonAsciiFile)));

    std::filesystem::create_directories(temp_.path() / "empty");
    EXPECT_FALSE(DeleteFile(temp_.Utf8("empty")));
    EXPECT_TRUE(std::filesystem::is_directory(temp_.path() / "empty"));
}

TEST(ModuleFileTest, ModulePathIsThisExecutable) {
    const std::string path = ModulePath();
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(PathFromUtf8(path).is_absolute());
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(ModuleModificationDate().has_value());
}

TEST(ModuleFileTest, BuildDateIsTheModuleDateAsShortDate) {
    const auto date = ModuleModificationDate();
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(GetBuildDate(), FormatShortDate(*date));
    EXPECT_GE(date->year, 2000);
    EXPECT_NE(FormatShortDate(*date), FormatShortDate(Date{}));
}

TEST(CounterTest, Advances) {
    const std::uint32_t first = HighResolutionCounterLow32();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_NE(HighResolutionCounterLow32(), first);
}

} // namespace
} // namespace ostinel::platform
