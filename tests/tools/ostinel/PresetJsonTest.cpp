// Presets read and written with the plug-in's own format code, and their JSON form.
#include "preset/PresetJson.h"
#include "common/QelCommon.h"
#include "preset/PresetState.h"
#include "preset/PresetText.h"
#include "json/Json.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ostinel::cli {
namespace {

// A state that uses every part of the format: odd floats, -0, a moved source note, CC
// assignments, header texts, a non-ASCII name.
PresetState Varied() {
    PresetState s;
    s.name = "Kit \xC3\xA9t\xC3\xA9 \"quoted\"";
    s.version = "1.00";
    s.headerTexts = {"x", ""};
    s.ccAssignments = {{"ostx", 7}, {"other", 0}};
    TOstinel& map = *s.map;
    map.SetSelectedChannel(9);
    map[9].SetActive(true);
    map[9].SetRangeFrom(35.5f);
    map[9].SetRangeTo(81);
    map[0].SetActive(false);
    TOstinToItem& t = map[9].Notes[36].Targets[0];
    t.SetNote(35);
    t.SetProbability(33.3f);
    t.SetVelocityScale(-0.0f);
    t.SetRandom(0.1f);
    map[9].Notes[36].Targets[2].SetChannel(16);
    map[9].Notes[36].Targets[2].SetNote(127);
    map[3].Notes[0].SetSourceNote(-5);
    map[15].Notes[127].Targets[1].SetProbability(0);
    return s;
}

TEST(PresetState, DefaultStateHasTheKnownSize) {
    const std::vector<std::uint8_t> bytes = WritePreset(PresetState{});
    ASSERT_EQ(bytes.size(), 379389u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "mmst");
    EXPECT_EQ(bytes[4], 0xF5);
    EXPECT_EQ(bytes[5], 0xC9);
    EXPECT_EQ(bytes[6], 0x05);
    EXPECT_EQ(bytes[7], 0x00);
}

TEST(PresetState, BytesReadBackToTheSameBytes) {
    for (const Container container : {Container::Preset, Container::Bank}) {
        PresetState s = Varied();
        s.container = container;
        const std::vector<std::uint8_t> bytes = WritePreset(s);
        const PresetState back = ReadPreset(bytes);
        EXPECT_EQ(back.container, container);
        EXPECT_EQ(back.name, s.name);
        EXPECT_TRUE(back.map->Equals(*s.map));
        EXPECT_EQ(WritePreset(back), bytes);
    }
}

TEST(PresetState, BankChunkIsACountBeforeTheProgramChunk) {
    PresetState s;
    const std::vector<std::uint8_t> preset = WritePreset(s);
    s.container = Container::Bank;
    const std::vector<std::uint8_t> bank = WritePreset(s);
    ASSERT_EQ(bank.size(), preset.size() + 4);
    EXPECT_EQ(bank[0] | bank[1] << 8 | bank[2] << 16 | bank[3] << 24,
              static_cast<int>(preset.size()));
    EXPECT_TRUE(std::equal(preset.begin(), preset.end(), bank.begin() + 4));
}

TEST(PresetState, ReadErrorsSayWhatAndWhere) {
    const std::vector<std::uint8_t> good = WritePreset(PresetState{});
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* message;
    };
    std::vector<std::uint8_t> truncated(good.begin(), good.begin() + 1000);
    truncated[4] = static_cast<std::uint8_t>(992 & 0xFF); // a consistent, short chunk
    truncated[5] = static_cast<std::uint8_t>(992 >> 8);
    truncated[6] = truncated[7] = 0;
    std::vector<std::uint8_t> badTag = good;
    badTag[8 + 4] = 0x07; // the header list's begin
    const Case cases[] = {
        {"empty", {}, "not a plug-in state: Chunk header incomplete"},
        {"other id", {'R', 'I', 'F', 'F', 0, 0, 0, 0}, "not a plug-in state: Invalid chunk id"},
        {"size beyond the file",
         {'m', 'm', 's', 't', 9, 0, 0, 0, 'T'},
         "not a plug-in state: Stream read error"},
        {"cut short", truncated, "Stream read error at byte 1000"},
        {"bad tag", badTag, "Invalid property value at byte 12"},
    };
    for (const Case& c : cases) {
        try {
            (void)ReadPreset(c.bytes);
            ADD_FAILURE() << c.name;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), c.message) << c.name;
        }
    }
}

TEST(PresetJson, JsonReadsBackToTheSameBytes) {
    for (const Container container : {Container::Preset, Container::Bank}) {
        PresetState s = Varied();
        s.container = container;
        const std::string text = PresetToJson(s);
        EXPECT_EQ(WritePreset(PresetFromJson(text)), WritePreset(s)) << text;
    }
    const PresetState defaults;
    EXPECT_EQ(WritePreset(PresetFromJson(PresetToJson(defaults))), WritePreset(defaults));
}

TEST(PresetJson, ListsOnlyRowsThatDifferWithLabels) {
    SetOctaveOffset(-2);
    const std::string text = PresetToJson(Varied());
    EXPECT_NE(text.find("{\"note\": 36, \"label\": \"036 - C1\", \"targets\": ["),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("{\"note\": 0, \"label\": \"000 - C-2\", \"sourceNote\": -5"),
              std::string::npos);
    EXPECT_NE(text.find("\"velocityScale\": -0"), std::string::npos);
    EXPECT_NE(text.find("\"probability\": 33.3,"), std::string::npos);
    EXPECT_EQ(text.find("\"note\": 37,"), std::string::npos); // a default row
    EXPECT_EQ(text.find("container"), std::string::npos);     // preset is the default
}

TEST(PresetJson, ShortFormFillsInDefaults) {
    const PresetState s = PresetFromJson(R"({"channels": [{"channel": 10, "active": true,
        "rows": [{"note": 38, "targets": [{"note": 40}]}]}]})");
    const TOstinel& map = *s.map;
    EXPECT_TRUE(map[0].Active()); // channels not listed keep the default map
    EXPECT_TRUE(map[9].Active());
    EXPECT_EQ(map[9].RangeTo(), 127.0f);
    const TChannelOstinItem& row = map[9].Notes[38];
    EXPECT_EQ(row.SourceNote(), 38);
    EXPECT_EQ(row.Targets[0].Note(), 40.0f);
    EXPECT_EQ(row.Targets[0].Channel(), 10.0f); // the row's channel
    EXPECT_EQ(row.Targets[0].Probability(), 100.0f);
    EXPECT_EQ(row.Targets[1].Note(), -1.0f); // targets not listed play nothing
    EXPECT_EQ(map[9].Notes[39].Targets[0].Note(), 39.0f);
    EXPECT_EQ(s.version, "1.00");
    EXPECT_EQ(map.SelectedChannel(), 0);
}

TEST(PresetJson, BadDocumentsNameThePlace) {
    struct Case {
        const char* json;
        const char* message;
    };
    const Case cases[] = {
        {R"([])", "document: expected an object, found an array (line 1, column 1)"},
        {R"({})", "document: missing field \"channels\" (line 1, column 1)"},
        {R"({"channels": [], "nmae": "x"})",
         "document: unknown field \"nmae\" (fields here: container, version, name, headerTexts, "
         "selectedChannel, ccAssignments, channels) (line 1, column 18)"},
        {R"({"channels": [{"channel": 1}]})",
         "channels[0]: missing field \"active\" (line 1, column 15)"},
        {R"({"channels": [{"channel": 17, "active": true}]})",
         "channels[0].channel: 17 is out of range 1 to 16 (line 1, column 27)"},
        {R"({"channels": [{"channel": 2.5, "active": true}]})",
         "channels[0].channel: 2.5 is not a whole number (line 1, column 27)"},
        {R"({"channels": [{"channel": 1, "active": 1}]})",
         "channels[0].active: expected true or false, found a number (line 1, column 40)"},
        {R"({"channels": [{"channel": 1, "active": true}, {"channel": 1, "active": false}]})",
         "channels[1].channel: channel 1 is already given in channels[0] (line 1, column 59)"},
        {R"({"channels": [{"channel": 1, "active": true, "rows": [{"note": 60, "targets": []}]}]})",
         "channels[0].rows[0].targets: expected 1 to 3 targets, found 0 (line 1, column 79)"},
        {R"({"channels": [{"channel": 1, "active": true, "rows": [{"note": 60, "targets": [{}]}]}]})",
         "channels[0].rows[0].targets[0]: missing field \"note\" (line 1, column 80)"},
        {R"({"channels": [{"channel": 1, "active": true, "rows": [{"note": 60, "targets": [{"note": 64, "probability": 150}]}]}]})",
         "channels[0].rows[0].targets[0].probability: 150 is out of range 0 to 100 (line 1, "
         "column 108)"},
        {R"({"channels": [{"channel": 1, "active": true, "rows": [{"note": 60, "targets": [{"note": -2}]}]}]})",
         "channels[0].rows[0].targets[0].note: -2 is out of range -1 to 127 (line 1, column 89)"},
        {R"({"channels": [{"channel": 1, "active": true, "rows": [{"note": 60, "targets": [{"note": 1}]}, {"note": 60, "targets": [{"note": 2}]}]}]})",
         "channels[0].rows[1].note: note 60 is already given in channels[0].rows[0] (line 1, "
         "column 104)"},
        {R"({"channels": [], "selectedChannel": 0})",
         "selectedChannel: 0 is out of range 1 to 16 (line 1, column 37)"},
        {R"({"channels": [], "ccAssignments": [{"parameter": "ostx", "cc": 128}]})",
         "ccAssignments[0].cc: 128 is out of range 0 to 127 (line 1, column 64)"},
        {R"({"channels": [], "container": "program"})",
         "container: \"program\" is neither \"preset\" nor \"bank\" (line 1, column 31)"},
        {R"({"channels": [], "headerTexts": ["a"]})",
         "headerTexts: expected 2 texts, found 1 (line 1, column 33)"},
    };
    for (const Case& c : cases) {
        try {
            (void)PresetFromJson(c.json);
            ADD_FAILURE() << "accepted: " << c.json;
        } catch (const PresetJsonError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.json;
        }
    }
}

TEST(PresetText, ShowsChangedRowsWithLabelsOfTheLowestOctave) {
    const PresetState s = Varied();
    SetOctaveOffset(-2);
    const std::string text = PresetToText(s);
    EXPECT_NE(text.find("Selected channel: 10\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"ostx\" <- CC 7"), std::string::npos);
    EXPECT_NE(text.find("     10  yes     036 - C1  (35.5) .. 081 - A4  1\n"), std::string::npos);
    EXPECT_NE(text.find("Channel 10, rows that differ from the default:"), std::string::npos);
    EXPECT_NE(text.find("  036 - C1    ch10 035 - B0   33.3% vel -0   rnd 0.1   ch10 none"),
              std::string::npos);
    EXPECT_NE(text.find("(source note -5)"), std::string::npos);
    SetOctaveOffset(0);
    EXPECT_NE(PresetToText(s).find("  036 - C3    ch10 035 - B2 "), std::string::npos);
    SetOctaveOffset(-2);
}

} // namespace
} // namespace ostinel::cli
