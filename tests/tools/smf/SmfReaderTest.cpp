#include "midi/SmfReader.h"
#include "midi/SmfError.h"
#include "tools/smf/SmfTestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace ostinel::smf {
namespace {

using test::Bytes;
using test::Cat;
using test::Chunk;
using test::Describe;
using test::Header;
using test::SmfFile;

// The first track body of a one-track file starts after MThd (14 bytes) and "MTrk" + length.
constexpr std::size_t kBody = 22;

struct TrackCase {
    const char* name;
    Bytes body;
    std::vector<std::string> events;
};

class ReadTrack : public ::testing::TestWithParam<TrackCase> {};

TEST_P(ReadTrack, GivesAbsoluteTicksAndBytesInFileOrder) {
    const MidiFile file = Read(SmfFile(0, 96, {GetParam().body}));
    ASSERT_EQ(file.tracks.size(), 1u);
    EXPECT_EQ(Describe(file.tracks[0]), GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    Events, ReadTrack,
    ::testing::Values(
        TrackCase{"ExplicitStatus",
                  {0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00},
                  {"0 90 3C 64", "96 80 3C 40", "96 FF 2F [ ]"}},
        TrackCase{"RunningStatus",
                  {0x00, 0x90, 0x3C, 0x64, 0x10, 0x3E, 0x64, 0x10, 0x3C, 0x00, 0x00, 0x99, 0x24,
                   0x7F, 0x01, 0x26, 0x7F},
                  {"0 90 3C 64", "16 90 3E 64", "32 90 3C 00", "32 99 24 7F", "33 99 26 7F"}},
        TrackCase{"OneDataByteMessagesWithRunningStatus",
                  {0x00, 0xC0, 0x05, 0x00, 0x06, 0x00, 0xD1, 0x40, 0x10, 0x41, 0x00,
                   0xB2, 0x07, 0x64, 0x00, 0xE3, 0x00, 0x40, 0x00, 0xA4, 0x3C, 0x20},
                  {"0 C0 05", "0 C0 06", "0 D1 40", "16 D1 41", "16 B2 07 64", "16 E3 00 40",
                   "16 A4 3C 20"}},
        TrackCase{"MetaEventsVerbatim",
                  {0x00, 0xFF, 0x03, 0x04, 'K',  'i',  't',  's',  0x00, 0xFF, 0x51, 0x03,
                   0x07, 0xA1, 0x20, 0x00, 0xFF, 0x58, 0x04, 0x06, 0x03, 0x18, 0x08, 0x83,
                   0x00, 0xFF, 0x7F, 0x02, 0x00, 0x41, 0x00, 0xFF, 0x2F, 0x00},
                  {"0 FF 03 [ 4B 69 74 73 ]", "0 FF 51 [ 07 A1 20 ]", "0 FF 58 [ 06 03 18 08 ]",
                   "384 FF 7F [ 00 41 ]", "384 FF 2F [ ]"}},
        TrackCase{"SysExBothKindsVerbatim",
                  {0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0x0A, 0xF7, 0x02, 0xF3, 0x01,
                   0x00, 0xF0, 0x00},
                  {"0 F0 [ 7E 7F 09 01 F7 ]", "10 F7 [ F3 01 ]", "10 F0 [ ]"}},
        // Meta and SysEx events between channel messages keep the running status.
        TrackCase{"RunningStatusAcrossMetaAndSysEx",
                  {0x00, 0x90, 0x3C, 0x64, 0x00, 0xFF, 0x01, 0x00, 0x10, 0x3C, 0x00, 0x00, 0xF0,
                   0x01, 0xF7, 0x00, 0x3E, 0x50},
                  {"0 90 3C 64", "0 FF 01 [ ]", "16 90 3C 00", "16 F0 [ F7 ]", "16 90 3E 50"}},
        TrackCase{"MultiByteDeltaTimes",
                  {0x81, 0x00, 0x90, 0x3C, 0x64, 0xFF, 0x7F, 0x3C, 0x00, 0xFF, 0xFF, 0xFF, 0x7F,
                   0x3C, 0x01},
                  {"128 90 3C 64", "16511 90 3C 00", "268451966 90 3C 01"}},
        TrackCase{"NoEndOfTrackIsTolerated", {0x00, 0x90, 0x3C, 0x64}, {"0 90 3C 64"}},
        TrackCase{"BytesAfterEndOfTrackAreIgnored",
                  {0x00, 0xFF, 0x2F, 0x00, 0x00, 0x90, 0x3C, 0xF8, 0x80},
                  {"0 FF 2F [ ]"}},
        TrackCase{"EmptyChunk", {}, {}}),
    test::CaseName());

TEST(ReadLayout, KeepsHeaderAndTracksAndSkipsUnknownChunks) {
    const Bytes bytes = Cat({Chunk("MThd", {0x00, 0x01, 0x00, 0x02, 0x01, 0xE0, 0xAA, 0xBB}),
                             Chunk("XFIH", {0x01, 0x02, 0x03}),
                             Chunk("MTrk", {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}),
                             Chunk("MTrk", {0x00, 0x91, 0x3C, 0x64}), Chunk("MThd", {})});
    const MidiFile file = Read(bytes);
    EXPECT_EQ(file.format, 1);
    EXPECT_EQ(file.division, 480);
    ASSERT_EQ(file.tracks.size(), 2u);
    EXPECT_EQ(Describe(file.tracks[0]), std::vector<std::string>{"0 FF 51 [ 07 A1 20 ]"});
    EXPECT_EQ(Describe(file.tracks[1]), std::vector<std::string>{"0 91 3C 64"});
}

TEST(ReadLayout, AcceptsSmpteDivision) {
    // -25 frames per second, 40 ticks per frame.
    const MidiFile file = Read(SmfFile(0, 0xE728, {{0x00, 0x90, 0x3C, 0x64}}));
    EXPECT_TRUE(IsSmpteDivision(file.division));
    EXPECT_EQ(SmpteFramesPerSecond(file.division), 25.0);
    EXPECT_EQ(SmpteTicksPerFrame(file.division), 40u);
}

TEST(TrackReader, ViewsDataInTheInputAndStopsAtTheEnd) {
    const Bytes bytes = SmfFile(
        1, 96,
        {{0x00, 0xFF, 0x03, 0x02, 'D', 'r', 0x00, 0xFF, 0x2F, 0x00}, {0x05, 0xF0, 0x01, 0xF7}});
    const Reader reader(bytes);
    EXPECT_EQ(reader.Header().format, 1);
    EXPECT_EQ(reader.Header().trackCount, 2);
    EXPECT_EQ(reader.Header().division, 96);
    ASSERT_EQ(reader.TrackCount(), 2u);

    TrackReader first = reader.Track(0);
    EventView view;
    ASSERT_TRUE(first.Next(view));
    EXPECT_TRUE(view.event.IsMetaOfType(kMetaTrackName));
    EXPECT_EQ(view.data.data(), bytes.data() + kBody + 4);
    EXPECT_EQ(view.data.size(), 2u);
    ASSERT_TRUE(first.Next(view));
    EXPECT_TRUE(view.event.IsEndOfTrack());
    EXPECT_FALSE(first.Next(view));
    EXPECT_FALSE(first.Next(view));

    TrackReader second = reader.Track(1);
    EXPECT_EQ(second.TrackIndex(), 1u);
    ASSERT_TRUE(second.Next(view));
    EXPECT_EQ(view.event.tick, 5u);
    EXPECT_EQ(view.event.status, kSysExStatus);
    EXPECT_FALSE(second.Next(view));

    EXPECT_THROW((void)reader.Track(2), Error);
}

struct MalformedCase {
    const char* name;
    Bytes bytes;
    std::size_t offset;
    std::optional<std::size_t> track; // 0-based
    const char* text;
};

class ReadMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(ReadMalformed, ThrowsNamingTrackAndOffset) {
    const MalformedCase& c = GetParam();
    try {
        (void)Read(c.bytes);
        FAIL() << "no error";
    } catch (const SmfError& error) {
        const std::string message = error.what();
        EXPECT_EQ(error.Offset(), c.offset) << message;
        EXPECT_EQ(error.TrackIndex(), c.track) << message;
        EXPECT_NE(message.find("byte offset " + std::to_string(c.offset) + ")"), std::string::npos)
            << message;
        if (c.track) {
            EXPECT_NE(message.find("(track " + std::to_string(*c.track + 1) + ","),
                      std::string::npos)
                << message;
        }
        EXPECT_NE(message.find(c.text), std::string::npos) << message;
    }
}

Bytes OneTrack(const Bytes& body) {
    return SmfFile(0, 96, {body});
}

// Enough maximal delta times to pass 2^32 - 1 ticks.
Bytes OverflowingDeltas() {
    Bytes body;
    for (int i = 0; i < 17; ++i) {
        body.insert(body.end(), {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x01, 0x00});
    }
    return body;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadMalformed,
    ::testing::Values(
        MalformedCase{"Empty", {}, 0, std::nullopt, "no MThd"},
        MalformedCase{"NotMidi", Chunk("RIFF", Bytes(6, 0)), 0, std::nullopt, "no MThd"},
        MalformedCase{"HeaderTooShort", Chunk("MThd", {0, 0, 0, 1, 0}), 4, std::nullopt,
                      "at least 6"},
        MalformedCase{"HeaderPastEnd", Cat({test::Id("MThd"), test::Be32(6), {0, 0, 0, 1}}), 4,
                      std::nullopt, "past the end of the file"},
        MalformedCase{"Format2", SmfFile(2, 96, {{}}), 8, std::nullopt, "format 2"},
        MalformedCase{"UnknownFormat", SmfFile(7, 96, {{}}), 8, std::nullopt, "format 7"},
        MalformedCase{"ZeroDivision", SmfFile(0, 0, {{}}), 12, std::nullopt, "division"},
        MalformedCase{"SmpteUnknownRate", SmfFile(0, 0xE028, {{}}), 12, std::nullopt, "frame rate"},
        MalformedCase{"SmpteZeroTicksPerFrame", SmfFile(0, 0xE700, {{}}), 12, std::nullopt,
                      "0 ticks per frame"},
        MalformedCase{"NoTracksClaimed", Header(1, 0, 96), 10, std::nullopt, "no tracks"},
        MalformedCase{"Format0WithTwoTracks", SmfFile(0, 96, {{}, {}}), 10, std::nullopt,
                      "exactly 1"},
        MalformedCase{"FewerTracksThanClaimed", Cat({Header(1, 3, 96), Chunk("MTrk", {})}), 10,
                      std::nullopt, "claims 3 tracks but the file holds 1"},
        MalformedCase{"MoreTracksThanClaimed",
                      Cat({Header(1, 1, 96), Chunk("MTrk", {}), Chunk("MTrk", {})}), 10,
                      std::nullopt, "claims 1 tracks but the file holds 2"},
        MalformedCase{"TruncatedChunkHeader", Cat({OneTrack({}), {'M', 'T', 'r'}}), 22,
                      std::nullopt, "truncated chunk header"},
        MalformedCase{"TruncatedTrackChunkHeader",
                      Cat({Header(1, 2, 96), Chunk("MTrk", {}), {'M', 'T', 'r', 'k', 0}}), 22, 1,
                      "truncated chunk header"},
        MalformedCase{
            "TrackLengthPastEnd",
            Cat({Header(0, 1, 96), test::Id("MTrk"), test::Be32(5), {0, 0x90, 0x3C, 0x64}}), 18, 0,
            "past the end of the file"},
        MalformedCase{"HugeTrackLength",
                      Cat({Header(0, 1, 96), test::Id("MTrk"), test::Be32(0xFFFFFFFF), {0}}), 18, 0,
                      "4294967295"},
        MalformedCase{"UnknownChunkPastEnd", Cat({OneTrack({}), test::Id("JUNK"), test::Be32(1)}),
                      26, std::nullopt, "past the end of the file"},
        MalformedCase{"TruncatedChannelMessage", OneTrack({0x00, 0x90, 0x3C}), kBody + 3, 0,
                      "ends inside a 0x90 message"},
        MalformedCase{"DeltaTimeTooLong",
                      OneTrack({0x00, 0x90, 0x3C, 0x64, 0x80, 0x80, 0x80, 0x80, 0x00, 0x3C, 0x00}),
                      kBody + 4, 0, "delta time longer than 4 bytes"},
        MalformedCase{"TruncatedDeltaTime", OneTrack({0x00, 0x90, 0x3C, 0x64, 0x81}), kBody + 5, 0,
                      "ends inside a delta time"},
        MalformedCase{"OnlyDeltaTime", OneTrack({0x00, 0x90, 0x3C, 0x64, 0x00}), kBody + 5, 0,
                      "ends after a delta time"},
        MalformedCase{"RunningStatusAtStart", OneTrack({0x00, 0x3C, 0x64}), kBody + 1, 0,
                      "running status without a previous status"},
        MalformedCase{"RunningStatusAfterMetaOnly",
                      OneTrack({0x00, 0xFF, 0x03, 0x00, 0x00, 0x3C, 0x64}), kBody + 5, 0,
                      "running status without a previous status"},
        MalformedCase{"StatusAsSecondDataByte", OneTrack({0x00, 0x90, 0x3C, 0x80}), kBody + 3, 0,
                      "data byte expected in a 0x90 message, found 0x80"},
        MalformedCase{"StatusAsFirstDataByte", OneTrack({0x00, 0xC0, 0x90, 0x3C}), kBody + 2, 0,
                      "data byte expected in a 0xC0 message, found 0x90"},
        MalformedCase{"SystemRealTimeInFile", OneTrack({0x00, 0xF8}), kBody + 1, 0,
                      "status byte 0xF8 is not allowed"},
        MalformedCase{"SystemCommonInFile", OneTrack({0x00, 0xF2, 0x00, 0x00}), kBody + 1, 0,
                      "status byte 0xF2 is not allowed"},
        MalformedCase{"MetaWithoutType", OneTrack({0x00, 0xFF}), kBody + 2, 0,
                      "ends inside a meta event"},
        MalformedCase{"MetaLengthPastEnd", OneTrack({0x00, 0xFF, 0x03, 0x05, 'A'}), kBody + 3, 0,
                      "meta event length 5 runs past the end of the track chunk"},
        MalformedCase{"MetaLengthTooLong",
                      OneTrack({0x00, 0xFF, 0x03, 0x80, 0x80, 0x80, 0x80, 0x00}), kBody + 3, 0,
                      "meta event length longer than 4 bytes"},
        MalformedCase{"MetaLengthTruncated", OneTrack({0x00, 0xFF, 0x03, 0x81}), kBody + 4, 0,
                      "ends inside a meta event length"},
        MalformedCase{"SysExLengthPastEnd", OneTrack({0x00, 0xF0, 0x7F, 0x01, 0xF7}), kBody + 2, 0,
                      "SysEx length 127 runs past"},
        MalformedCase{"TickOverflow", OneTrack(OverflowingDeltas()), kBody + 16 * 7, 0,
                      "beyond 2^32-1 ticks"},
        MalformedCase{"ErrorInSecondTrack",
                      SmfFile(1, 96, {{0x00, 0x90, 0x3C, 0x64}, {0x00, 0x3C, 0x64}}),
                      kBody + 4 + 8 + 1, 1, "running status"}),
    test::CaseName());

} // namespace
} // namespace ostinel::smf
