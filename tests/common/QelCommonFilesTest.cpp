#include "common/QelCommon.h"
#include "common/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace ostinel {
namespace {

using Names = std::vector<std::string>;

// A presets folder as the preset browser sees it: files of several kinds, a folder that
// looks like a preset, a hidden preset.
class FindFilesByMasksTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"b.quorvatp", "A.quorvatp", "c.QUORVATP", "long.quorvatp",
                                 "notes.txt", "Z.txt", ".hidden.quorvatp", "x.quorvatp.bak"})
            temp_.AddFile(name);
        std::filesystem::create_directories(temp_.path() / "folder.quorvatp");
#ifdef _WIN32
        ::SetFileAttributesW((temp_.path() / ".hidden.quorvatp").c_str(), FILE_ATTRIBUTE_HIDDEN);
#endif
    }

    [[nodiscard]] std::string Masks(const std::string& masks) const {
        return temp_.Utf8() + "/" + masks;
    }

    test::TempFolder temp_;
};

TEST_F(FindFilesByMasksTest, ListsOrdinaryFilesSortedIgnoringCase) {
    Names list;
    EXPECT_TRUE(FindFilesByMasks(Masks("*.quorvatp"), 0, list));
    EXPECT_EQ(list, (Names{"A.quorvatp", "b.quorvatp", "c.QUORVATP", "long.quorvatp"}));
}

TEST_F(FindFilesByMasksTest, AppendsToTheListAndSortsEverything) {
    Names list{"m.txt", "Y"};
    EXPECT_TRUE(FindFilesByMasks(Masks("?.quorvatp"), 0, list));
    EXPECT_EQ(list, (Names{"A.quorvatp", "b.quorvatp", "c.QUORVATP", "m.txt", "Y"}));
}

TEST_F(FindFilesByMasksTest, SeveralMasksWithBlanks) {
    Names list;
    EXPECT_TRUE(FindFilesByMasks(Masks(" *.txt ; ?.quorvatp"), 0, list));
    EXPECT_EQ(list, (Names{"A.quorvatp", "b.quorvatp", "c.QUORVATP", "notes.txt", "Z.txt"}));
}

TEST_F(FindFilesByMasksTest, ResultIsThatOfTheLastMask) {
    Names list;
    EXPECT_FALSE(FindFilesByMasks(Masks("*.txt;*.none"), 0, list));
    EXPECT_EQ(list, (Names{"notes.txt", "Z.txt"}));
    list.clear();
    EXPECT_TRUE(FindFilesByMasks(Masks("*.none;*.txt"), 0, list));
    EXPECT_EQ(list, (Names{"notes.txt", "Z.txt"}));
    EXPECT_FALSE(FindFilesByMasks(Masks("*.txt;"), 0, list));
}

TEST_F(FindFilesByMasksTest, HiddenFilesOnlyWithTheHiddenFilter) {
    Names list;
    EXPECT_TRUE(FindFilesByMasks(Masks("*.quorvatp"), kFileAttrHidden, list));
    EXPECT_EQ(list, (Names{".hidden.quorvatp", "A.quorvatp", "b.quorvatp", "c.QUORVATP",
                           "long.quorvatp"}));
}

TEST_F(FindFilesByMasksTest, MissingFolderLeavesTheListUnchanged) {
    Names list{"b", "a"};
    EXPECT_FALSE(FindFilesByMasks(temp_.Utf8() + "/missing/*.quorvatp", 0, list));
    EXPECT_EQ(list, (Names{"b", "a"}));
}

TEST_F(FindFilesByMasksTest, NoMatchLeavesTheListUnchanged) {
    Names list{"b", "a"};
    EXPECT_FALSE(FindFilesByMasks(Masks("*.none"), 0, list));
    EXPECT_EQ(list, (Names{"b", "a"}));
}

TEST(FindFilesByMasksNonAsciiTest, FolderAndFileNamesInUtf8) {
    test::TempFolder temp;
    temp.AddFile("Pr\xC3\xBC"
                 "fung/\xC3\x96lbild \xE2\x9C\x93.quorvatp");
    Names list;
    EXPECT_TRUE(FindFilesByMasks(temp.Utf8("Pr\xC3\xBC"
                                           "fung") +
                                     "/*.quorvatp",
                                 0, list));
    EXPECT_EQ(list, (Names{"\xC3\x96lbild \xE2\x9C\x93.quorvatp"}));
}

TEST(MatchesMaskTest, Wildcards) {
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    };
    const Case cases[] = {
        {"a.quorvatp", "*.quorvatp", true},
        {"a.QUORVATP", "*.quorvatp", true},
        {".quorvatp", "*.quorvatp", true},
        {"a.quorvatpx", "*.quorvatp", false},
        {"a.quorvat", "*.quorvatp", false},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"\xC3\xA4"
         "bc",
         "?bc", true},                       // "?" is one character, not one byte
        {"\xC3\x84.x", "\xC3\xA4.x", false}, // case is ignored for ASCII letters only
        {"aXbYb", "a*b", true},
        {"aXbYc", "a*b", false},
        {"abcbd", "a*b?", true},
        {"noext", "*.*", true},
        {"", "*", true},
        {"x", "", false},
        {"x", "**", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " ~ " + c.mask);
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches);
    }
}

TEST(CompareTextNoCaseTest, Order) {
    EXPECT_EQ(CompareTextNoCase("abc", "ABC"), 0);
    EXPECT_LT(CompareTextNoCase("a", "B"), 0);
    EXPECT_GT(CompareTextNoCase("B", "a"), 0);
    EXPECT_LT(CompareTextNoCase("a", "ab"), 0);
}

class FileExistsSafeTest : public ::testing::Test {
protected:
    void SetUp() override { temp_.AddFile("preset.quorvatp"); }
    test::TempFolder temp_;
};

TEST_F(FileExistsSafeTest, QuotesThenBlanksAreStripped) {
    const std::string file = temp_.Utf8("preset.quorvatp");
    EXPECT_TRUE(FileExistsSafe(file));
    EXPECT_TRUE(FileExistsSafe("\"" + file + "\""));
    EXPECT_TRUE(FileExistsSafe("\"  " + file + "  \""));
    EXPECT_TRUE(FileExistsSafe(" \t" + file + " "));
    EXPECT_FALSE(FileExistsSafe("  \"" + file + "\"  ")); // the quotes are not the outer ones
}

TEST_F(FileExistsSafeTest, FoldersAndMissingFilesAreNotFiles) {
    EXPECT_FALSE(FileExistsSafe(temp_.Utf8()));
    EXPECT_FALSE(FileExistsSafe(temp_.Utf8("missing.quorvatp")));
    EXPECT_FALSE(FileExistsSafe(""));
    EXPECT_FALSE(FileExistsSafe("\"\""));
}

#ifdef _WIN32
TEST(DriveReadyTest, SystemDriveIsReady) {
    EXPECT_TRUE(DriveReady("C:\\"));
}
#else
TEST(DriveReadyTest, PosixHasOnlyTheRootVolume) {
    EXPECT_TRUE(DriveReady("/"));
    EXPECT_TRUE(DriveReady("/tmp/x"));
    EXPECT_FALSE(DriveReady("relative/path"));
    EXPECT_FALSE(DriveReady("C:\\"));
    // A drive-letter path needs its drive: there is none here.
    EXPECT_FALSE(FileExistsSafe("C:\\Windows\\notepad.exe"));
}
#endif

} // namespace
} // namespace ostinel
