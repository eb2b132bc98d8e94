// The two user files (defaults, decoding, sorting) and the column operations of scales and
// input templates. Files live in temp folders; HOME and XDG point into one as well.
#include "editor/files/ScaleFiles.h"

#include "common/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace ostinel {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

[[nodiscard]] std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

[[nodiscard]] std::vector<std::string> Captions(const std::vector<std::string>& lines) {
    std::vector<std::string> captions;
    for (const std::string& line : lines) {
        if (IsListEntry(line))
            captions.push_back(ListEntryCaption(line));
    }
    return captions;
}

// ---- Files -----------------------------------------------------------------------------

TEST(ScaleFilesDefaults, TextsAreTheBuiltInLinesWithCrLf) {
    EXPECT_EQ(DefaultScalesText(), "Chromatic;0,1,2,3,4,5,6,7,8,9,10,11\r\n"
                                   "Major;0,2,4,5,7,9,11\r\n"
                                   "Minor - Natural;0,2,3,5,7,8,10\r\n"
                                   "Minor - Melodic;0,2,3,5,7,9,11\r\n"
                                   "Minor - Harmonic;0,2,3,5,7,8,11\r\n"
                                   "Pentatonic - Major;0,2,4,7,9\r\n"
                                   "Pentatonic - Minor;0,3,5,7,10\r\n"
                                   "Blues;0,3,5,6,7,10\r\n");
    EXPECT_EQ(DefaultInputText(), "Audio Damage Tattoo;36,51;44,47,48,50\r\n"
                                  "FXpansion Geist;36,51\r\n"
                                  "FXpansion Tremor;36,43\r\n");
}

const std::vector<std::string> kSortedScaleCaptions = {"Blues",
                                                       "Chromatic",
                                                       "Major",
                                                       "Minor - Harmonic",
                                                       "Minor - Melodic",
                                                       "Minor - Natural",
                                                       "Pentatonic - Major",
                                                       "Pentatonic - Minor"};

struct UserListFixture : ::testing::Test {
    test::TempFolder temp;
};

// The user folder (with parents) is created and the default written there, byte for byte.
TEST_F(UserListFixture, MissingFileIsCreatedWithTheDefaultsInMissingFolders) {
    for (const std::string& folder : {temp.Utf8("a/b/Quorvat/Ostinel") + "/", temp.Utf8("c/d")}) {
        SCOPED_TRACE(folder);
        const auto lines = ReadUserList(folder, kScalesFileName, DefaultScalesText());
        EXPECT_THAT(Captions(lines), ElementsAreArray(kSortedScaleCaptions));
        EXPECT_EQ(ReadBytes(std::filesystem::path(folder) / kScalesFileName), DefaultScalesText());
    }
}

TEST_F(UserListFixture, UnwritableFolderFallsBackToTheBuiltInText) {
    temp.AddFile("blocked", "a file where the folder should be");
    const auto lines = ReadUserList(temp.Utf8("blocked/sub/"), kInputFileName, DefaultInputText());
    EXPECT_THAT(Captions(lines),
                ElementsAre("Audio Damage Tattoo", "FXpansion Geist", "FXpansion Tremor"));
    EXPECT_THAT(Captions(ReadUserList("", kInputFileName, DefaultInputText())),
                ElementsAre("Audio Damage Tattoo", "FXpansion Geist", "FXpansion Tremor"));
}

TEST_F(UserListFixture, ExistingFileIsReadAndKept) {
    temp.AddFile("Input.txt", "b;1,2\nA;3,4");
    const auto lines = ReadUserList(temp.Utf8() + "/", kInputFileName, DefaultInputText());
    EXPECT_THAT(lines, ElementsAre("A;3,4", "b;1,2"));
    EXPECT_EQ(ReadBytes(temp.path() / "Input.txt"), "b;1,2\nA;3,4");
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines; // sorted
};

TEST_F(UserListFixture, DecodesByByteOrderMarkAndSplitsAtEveryLineEnd) {
    using namespace std::string_literals;
    // Mixed lines start with "a" so that byte order and the user's locale order agree.
    const DecodeCase cases[] = {
        {"crlf", "b\r\na\r\n", {"a", "b"}},
        {"lf and cr", "c\nb\ra", {"a", "b", "c"}},
        {"blank lines stay", "b\r\n\r\n  \r\na\n", {"", "  ", "a", "b"}},
        {"case ignored", "b\nC\na\nB", {"a", "b", "B", "C"}},
        {"utf-8 bom", "\xEF\xBB\xBF\xC3\xA9t\xC3\xA9;0\r\n", {"\xC3\xA9t\xC3\xA9;0"}},
        {"utf-16le bom",
         "\xFF\xFE\xE9\x00;\x00"
         "0\x00\r\x00\n\x00"
         "a\x00"s,
         {"a", "\xC3\xA9;0"}},
        {"utf-16be bom",
         "\xFE\xFF\x00\xE9\x00;\x00"
         "0\x00\n\x00"
         "a"s,
         {"a", "\xC3\xA9;0"}},
        {"windows-1252", "\xE9t\xE9 \x80;0\r\n", {"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC;0"}},
        {"utf-8 without a mark", "\xC3\xA9t\xC3\xA9;0\n", {"\xC3\xA9t\xC3\xA9;0"}},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        temp.AddFile("Scales.txt", c.bytes);
        EXPECT_EQ(ReadUserList(temp.Utf8(), kScalesFileName, DefaultScalesText()), c.lines);
    }
}

TEST(ScaleFilesCaption, FirstFieldOfTheTrimmedLine) {
    EXPECT_EQ(ListEntryCaption("  Major;0,2,4\t"), "Major");
    EXPECT_EQ(ListEntryCaption("\"Odd;name\";0,3"), "Odd;name");
    EXPECT_EQ(ListEntryCaption("NoDegrees"), "NoDegrees");
    EXPECT_EQ(ListEntryCaption(" \t "), "");
    EXPECT_FALSE(IsListEntry(" \t\x01"));
    EXPECT_TRUE(IsListEntry(";0,4"));
}

// ---- Scales ----------------------------------------------------------------------------

TEST(ScaleDegreesTest, ValidDegreesSortedWithRootInFront) {
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"x;4,7,11", {0, 4, 7, 11}},
        {"x;7,0,0", {0, 0, 7}},
        {"x;0,2,4,5,7,9,11", {0, 2, 4, 5, 7, 9, 11}},
        {"x;11,12,-1,abc,,5", {0, 5, 11}},
        {"x; 3 ,+5", {0, 3, 5}},
        {"x;\"2,4\"", {0, 2, 4}},
        {"x", {}},
        {"x;", {}},
        {"x;12,-3,1.5", {}},
    };
    for (const auto& [line, degrees] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(ScaleDegrees(line), degrees);
    }
}

struct ColumnFixture : ::testing::Test {
    std::unique_ptr<TOstinel> map = std::make_unique<TOstinel>();
    TOstinelChannel& channel = (*map)[0];

    [[nodiscard]] float Note(int source, int target = 0) const {
        return channel.Notes[source].Targets[target].Note();
    }
};

TEST_F(ColumnFixture, MajorFromSixtyWalksBothWays) {
    channel.Notes[70].Targets[0].SetProbability(50);
    ASSERT_TRUE(LoadScale(channel, 60, 0, 60, ScaleDegrees("Major;0,2,4,5,7,9,11")));
    const int up[] = {60, 62, 64, 65, 67, 69, 71, 72};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Note(60 + i), static_cast<float>(up[i])) << "source " << 60 + i;
    const int down[] = {59, 57, 55, 53, 52, 50, 48, 47};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Note(59 - i), static_cast<float>(down[i])) << "source " << 59 - i;
    // Five octaves of seven degrees below and above 60.
    EXPECT_EQ(Note(25), 0.0f);
    EXPECT_EQ(Note(24), -1.0f); // below 0
    EXPECT_EQ(Note(99), 127.0f);
    EXPECT_EQ(Note(100), -1.0f); // above 127
    // Only the Note of the column changes.
    EXPECT_EQ(Note(60, 1), -1.0f);
    EXPECT_EQ(channel.Notes[70].Targets[0].Probability(), 50.0f);
    EXPECT_EQ(channel.Notes[70].Targets[0].Channel(), 1.0f);
}

TEST_F(ColumnFixture, ChromaticAtHundredWithBaseHundredTwenty) {
    ASSERT_TRUE(
        LoadScale(channel, 100, 2, 120, ScaleDegrees("Chromatic;0,1,2,3,4,5,6,7,8,9,10,11")));
    for (int k = 0; k < 128; ++k) {
        const int expected = k + 20 <= 127 ? k + 20 : -1;
        EXPECT_EQ(Note(k, 2), static_cast<float>(expected)) << "source " << k;
        EXPECT_EQ(Note(k, 0), static_cast<float>(k)); // other columns untouched
    }
}

TEST_F(ColumnFixture, DuplicateDegreeRepeatsTheNote) {
    ASSERT_TRUE(LoadScale(channel, 60, 1, 60, ScaleDegrees("x;7,0,0")));
    EXPECT_EQ(Note(60, 1), 60.0f);
    EXPECT_EQ(Note(61, 1), 60.0f);
    EXPECT_EQ(Note(62, 1), 67.0f);
    EXPECT_EQ(Note(63, 1), 72.0f);
    EXPECT_EQ(Note(59, 1), 55.0f);
    EXPECT_EQ(Note(58, 1), 48.0f);
    EXPECT_EQ(Note(57, 1), 48.0f);
}

TEST_F(ColumnFixture, NothingChangesWithoutDegreesOrOutsideTheMap) {
    auto before = std::make_unique<TOstinel>();
    EXPECT_FALSE(LoadScale(channel, 60, 0, 60, ScaleDegrees("NoDegrees")));
    EXPECT_FALSE(LoadScale(channel, 128, 0, 60, {0}));
    EXPECT_FALSE(LoadScale(channel, -1, 0, 60, {0}));
    EXPECT_FALSE(LoadScale(channel, 60, 3, 60, {0}));
    EXPECT_TRUE(map->Equals(*before));
    // Extreme bases stay inside the note range (empty targets) instead of overflowing.
    EXPECT_TRUE(LoadScale(channel, 0, 0, 2147483647, {0}));
    EXPECT_TRUE(LoadScale(channel, 127, 0, -2147483647 - 1, {0, 5}));
    for (int k = 0; k < 128; ++k)
        EXPECT_EQ(Note(k), -1.0f);
}

// ---- Input templates -------------------------------------------------------------------

TEST(InputTemplateTest, FieldsWithDefaultsForMissingValues) {
    struct Case {
        const char* line;
        int first;
        int last;
        std::vector<int> silenced;
    };
    const Case cases[] = {
        {"Audio Damage Tattoo;36,51;44,47,48,50", 36, 51, {44, 47, 48, 50}},
        {"FXpansion Geist;36,51", 36, 51, {}},
        {"Name only", 0, 127, {}},
        {"x;60", 60, 127, {}},
        {"x;,72", 0, 72, {}},
        {"x;a,b", 0, 127, {}},
        {"x;60,72;200,5,-1,,x,127", 60, 72, {5, 127}},
        {"x;-5,300", -5, 300, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const TInputTemplate t = ParseInputTemplate(c.line);
        EXPECT_EQ(t.First, c.first);
        EXPECT_EQ(t.Last, c.last);
        EXPECT_EQ(t.Silenced, c.silenced);
    }
}

TEST_F(ColumnFixture, TemplateMapsItsRangeAndSilencesItsNotes) {
    channel.Notes[10].Targets[1].SetNote(33);
    channel.Notes[65].Targets[1].SetNote(33);
    const TInputTemplate t = ParseInputTemplate("x;60,72;64,20,200");
    MapNotesToThemselves(channel, t.First, t.Last);
    SilenceNotes(channel, t.Silenced);

    EXPECT_EQ(Note(10, 1), 33.0f); // outside 60..72: kept
    EXPECT_EQ(Note(65, 0), 65.0f);
    EXPECT_EQ(Note(65, 1), -1.0f);
    for (const int silenced : {20, 64}) {
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(Note(silenced, k), -1.0f) << silenced;
    }

    // Bounds beyond the map are cut to it.
    MapNotesToThemselves(channel, -10, 500);
    EXPECT_EQ(Note(0), 0.0f);
    EXPECT_EQ(Note(127), 127.0f);
    SilenceNotes(channel, {-1, 128, 127});
    EXPECT_EQ(Note(127), -1.0f);
}

} // namespace
} // namespace ostinel
