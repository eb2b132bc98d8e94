#include "midi/SmfWriter.h"
#include "common/Error.h"
#include "midi/SmfReader.h"
#include "midi/Vlq.h"
#include "tools/smf/SmfTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace ostinel::smf {
namespace {

using test::Bytes;
using test::Cat;
using test::Describe;
using test::SmfFile;

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// Two notes on one channel around a meta event: shows where running status applies.
MidiFile SmallFile() {
    MidiFile file;
    file.format = 0;
    file.division = 96;
    Track& track = file.tracks.emplace_back();
    track.AddChannel(0, 0x90, 60, 100);
    track.AddChannel(0, 0x90, 64, 100);
    track.AddMeta(0, 0x06, Text("A"));
    track.AddChannel(96, 0x90, 60, 0);
    track.AddChannel(200, 0x90, 64, 0);
    return file;
}

TEST(Write, OmitsRepeatedStatusUntilAMetaOrSysExEvent) {
    const Bytes body{0x00, 0x90, 0x3C, 0x64, 0x00, 0x40, 0x64, // running status
                     0x00, 0xFF, 0x06, 0x01, 'A',              // meta cancels it
                     0x60, 0x90, 0x3C, 0x00, 0x68, 0x40, 0x00, // so the status repeats
                     0x00, 0xFF, 0x2F, 0x00};
    EXPECT_EQ(Write(SmallFile()), SmfFile(0, 96, {body}));
}

TEST(Write, WritesEveryStatusWhenRunningStatusIsOff) {
    const Bytes body{0x00, 0x90, 0x3C, 0x64, 0x00, 0x90, 0x40, 0x64, 0x00, 0xFF, 0x06, 0x01, 'A',
                     0x60, 0x90, 0x3C, 0x00, 0x68, 0x90, 0x40, 0x00, 0x00, 0xFF, 0x2F, 0x00};
    EXPECT_EQ(Write(SmallFile(), WriteOptions{.runningStatus = false}), SmfFile(0, 96, {body}));
}

struct RoundTripCase {
    const char* name;
    std::function<MidiFile()> make;
};

class WriteThenRead : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(WriteThenRead, GivesBackTheSameEvents) {
    const MidiFile original = GetParam().make();
    for (const bool running : {true, false}) {
        SCOPED_TRACE(running ? "running status" : "no running status");
        const MidiFile read = Read(Write(original, WriteOptions{.runningStatus = running}));
        EXPECT_EQ(read.format, original.format);
        EXPECT_EQ(read.division, original.division);
        ASSERT_EQ(read.tracks.size(), original.tracks.size());
        for (std::size_t i = 0; i < original.tracks.size(); ++i) {
            // Every written track ends with exactly one end-of-track.
            std::vector<std::string> expected = Describe(original.tracks[i]);
            const uint32_t last =
                original.tracks[i].events.empty() ? 0 : original.tracks[i].events.back().tick;
            expected.push_back(std::to_string(last) + " FF 2F [ ]");
            EXPECT_EQ(Describe(read.tracks[i]), expected) << "track " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Models, WriteThenRead,
    ::testing::Values(
        RoundTripCase{"Format0AllChannelKinds",
                      [] {
                          MidiFile f;
                          f.format = 0;
                          Track& track = f.tracks.emplace_back();
                          track.AddChannel(0, 0x80, 1, 2);
                          track.AddChannel(0, 0x9F, 127, 127);
                          track.AddChannel(1, 0xA3, 60, 10);
                          track.AddChannel(1, 0xB4, 7, 0);
                          track.AddChannel(1, 0xC5, 99);
                          track.AddChannel(1, 0xC5, 98);
                          track.AddChannel(2, 0xD6, 33);
                          track.AddChannel(2, 0xE7, 0, 64);
                          track.AddChannel(2, 0xE7, 127, 127);
                          return f;
                      }},
        RoundTripCase{"Format1TempoTrackAndNoteTracks",
                      [] {
                          MidiFile f;
                          Track& tempo = f.tracks.emplace_back();
                          tempo.AddMeta(0, kMetaTrackName, Text("Tempo"));
                          tempo.AddMeta(0, kMetaTimeSignature, Bytes{4, 2, 24, 8});
                          tempo.AddMeta(0, kMetaTempo, Bytes{0x07, 0xA1, 0x20});
                          tempo.AddMeta(1920, kMetaTempo, Bytes{0x06, 0x1A, 0x80});
                          for (uint8_t ch = 0; ch < 3; ++ch) {
                              Track& track = f.tracks.emplace_back();
                              track.AddMeta(0, kMetaTrackName, Text("Part " + std::to_string(ch)));
                              for (uint32_t n = 0; n < 8; ++n) {
                                  track.AddChannel(n * 240, static_cast<uint8_t>(0x90 | ch),
                                                   static_cast<uint8_t>(36 + n), 90);
                                  track.AddChannel(n * 240 + 120, static_cast<uint8_t>(0x80 | ch),
                                                   static_cast<uint8_t>(36 + n), 0);
                              }
                          }
                          return f;
                      }},
        RoundTripCase{"SysExAndOddMetaBetweenNotes",
                      [] {
                          MidiFile f;
                          f.format = 0;
                          Track& track = f.tracks.emplace_back();
                          track.AddChannel(0, 0x90, 60, 1);
                          track.AddSysEx(0, kSysExStatus, Bytes{0x7E, 0x7F, 0x09, 0x01, 0xF7});
                          track.AddChannel(0, 0x90, 61, 1);
                          track.AddSysEx(5, kSysExEscapeStatus, Bytes{0xF8, 0xFA});
                          track.AddChannel(5, 0x90, 62, 1);
                          track.AddMeta(5, 0x7F, Bytes(300, 0xEE)); // 2-byte length
                          track.AddMeta(5, 0x01, {});
                          track.AddSysEx(6, kSysExStatus, {});
                          track.AddChannel(6, 0x90, 63, 1);
                          return f;
                      }},
        RoundTripCase{"SmpteDivisionAndLargestGaps",
                      [] {
                          MidiFile f;
                          f.format = 0;
                          f.division = 0xE250; // -30 fps, 80 ticks per frame
                          Track& track = f.tracks.emplace_back();
                          track.AddChannel(kMaxVlq, 0x90, 60, 1);
                          track.AddChannel(2 * kMaxVlq, 0x80, 60, 1);
                          return f;
                      }},
        RoundTripCase{"EmptyTracks",
                      [] {
                          MidiFile f;
                          f.tracks.resize(3);
                          return f;
                      }}),
    test::CaseName());

// Files as a conforming writer makes them come back byte for byte, meta and SysEx data
// included.
TEST(Write, ReproducesCanonicalFilesByteForByte) {
    const Bytes tempoTrack{0x00, 0xFF, 0x03, 0x05, 'D',  'r',  'u',  'm',  's',  0x00,
                           0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08, 0x00, 0xFF, 0x51,
                           0x03, 0x0F, 0x42, 0x40, 0x00, 0xFF, 0x21, 0x01, 0x00, 0x00,
                           0xFF, 0x7F, 0x04, 0x00, 0x00, 0x41, 0xFF, 0x87, 0x40, 0xFF,
                           0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00};
    const Bytes noteTrack{0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0x00, 0x99,
                          0x24, 0x64, 0x00, 0x2A, 0x50, 0x60, 0x24, 0x00, 0x00, 0x2A,
                          0x00, 0x00, 0xF7, 0x03, 0xF0, 0x43, 0x12, 0x00, 0xC9, 0x10,
                          0x81, 0x40, 0xE9, 0x00, 0x40, 0x00, 0xFF, 0x2F, 0x00};
    const Bytes bytes = SmfFile(1, 480, {tempoTrack, noteTrack});
    EXPECT_EQ(Write(Read(bytes)), bytes);
}

struct EndOfTrackCase {
    const char* name;
    std::vector<uint32_t> endTicks; // end-of-track events, placed after a note at tick 10
    uint32_t expectedEnd;
};

class WriteEndOfTrack : public ::testing::TestWithParam<EndOfTrackCase> {};

TEST_P(WriteEndOfTrack, WritesExactlyOneAtTheLatestTick) {
    MidiFile file;
    file.format = 0;
    Track& track = file.tracks.emplace_back();
    track.AddChannel(10, 0x90, 60, 100);
    for (const uint32_t tick : GetParam().endTicks) {
        track.AddMeta(tick, kMetaEndOfTrack, {});
    }
    track.AddChannel(10, 0x80, 60, 0);
    const std::vector<std::string> expected{"10 90 3C 64", "10 80 3C 00",
                                            std::to_string(GetParam().expectedEnd) + " FF 2F [ ]"};
    EXPECT_EQ(Describe(Read(Write(file)).tracks[0]), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, WriteEndOfTrack,
                         ::testing::Values(EndOfTrackCase{"Missing", {}, 10},
                                           EndOfTrackCase{"BeforeLastEvent", {10}, 10},
                                           EndOfTrackCase{"EarlierTick", {0}, 10},
                                           EndOfTrackCase{"KeepsTrailingLength", {500}, 500},
                                           EndOfTrackCase{"Several", {700, 10, 300}, 700}),
                         test::CaseName());

TEST(Write, SortsByTickKeepingTheOrderOfEqualTicks) {
    MidiFile file;
    file.format = 0;
    Track& track = file.tracks.emplace_back();
    track.AddChannel(20, 0x80, 60, 0);
    track.AddChannel(0, 0x90, 60, 1);
    track.AddChannel(20, 0x90, 61, 2);
    track.AddMeta(0, kMetaTrackName, Text("x"));
    track.AddChannel(5, 0xC0, 3);
    track.AddChannel(20, 0x90, 62, 3);
    const std::vector<std::string> expected{"0 90 3C 01",  "0 FF 03 [ 78 ]", "5 C0 03",
                                            "20 80 3C 00", "20 90 3D 02",    "20 90 3E 03",
                                            "20 FF 2F [ ]"};
    EXPECT_EQ(Describe(Read(Write(file)).tracks[0]), expected);
}

struct BadModelCase {
    const char* name;
    std::function<void(MidiFile&)> spoil;
    const char* text;
};

class WriteBadModel : public ::testing::TestWithParam<BadModelCase> {};

TEST_P(WriteBadModel, ThrowsAClearError) {
    MidiFile file;
    file.format = 0;
    file.tracks.emplace_back().AddChannel(0, 0x90, 60, 100);
    GetParam().spoil(file);
    try {
        (void)Write(file);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().text), std::string::npos)
            << error.what();
    }
}

Event RawEvent(uint8_t status, uint8_t data1, uint8_t data2) {
    Event event;
    event.status = status;
    event.data1 = data1;
    event.data2 = data2;
    return event;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteBadModel,
    ::testing::Values(
        BadModelCase{"Format2", [](MidiFile& f) { f.format = 2; }, "format 2"},
        BadModelCase{"NoTracks", [](MidiFile& f) { f.tracks.clear(); }, "no tracks"},
        BadModelCase{"Format0TwoTracks", [](MidiFile& f) { f.tracks.emplace_back(); },
                     "format 0 holds exactly one track"},
        BadModelCase{"ZeroDivision", [](MidiFile& f) { f.division = 0; }, "division"},
        BadModelCase{"SystemStatus",
                     [](MidiFile& f) { f.tracks[0].events.push_back(RawEvent(0xF8, 0, 0)); },
                     "track 1, event 2: invalid status byte 0xF8"},
        BadModelCase{"DataByteAbove7F",
                     [](MidiFile& f) { f.tracks[0].events.push_back(RawEvent(0xB0, 7, 0x80)); },
                     "track 1, event 2: data byte above 0x7F"},
        BadModelCase{"DataOutsidePayload",
                     [](MidiFile& f) {
                         Event meta = RawEvent(kMetaStatus, 0, 0);
                         meta.dataSize = 1;
                         f.tracks[0].events.push_back(meta);
                     },
                     "outside the track's payload"},
        BadModelCase{"GapTooLarge",
                     [](MidiFile& f) { f.tracks[0].AddChannel(kMaxVlq + 1, 0x80, 60, 0); },
                     "gap of 268435456 ticks"},
        BadModelCase{"EndOfTrackTooFarAway",
                     [](MidiFile& f) { f.tracks[0].AddMeta(kMaxVlq + 1, kMetaEndOfTrack, {}); },
                     "end of track"}),
    test::CaseName());

TEST(Track, AddRejectsWhatCannotBeWritten) {
    Track track;
    EXPECT_THROW(track.AddChannel(0, 0xF0, 1, 2), Error);
    EXPECT_THROW(track.AddChannel(0, 0x3C, 1, 2), Error);
    EXPECT_THROW(track.AddChannel(0, 0x90, 0x80, 2), Error);
    EXPECT_THROW(track.AddChannel(0, 0x90, 1, 0x80), Error);
    EXPECT_THROW(track.AddSysEx(0, 0x90, {}), Error);
    EXPECT_THROW(track.Add(RawEvent(0xF1, 0, 0)), Error);
    EXPECT_TRUE(track.events.empty());

    // Copying an event between tracks re-points its data into the new payload.
    Track source;
    source.AddMeta(0, kMetaTrackName, Text("abc"));
    source.AddMeta(4, kMetaTrackName, Text("de"));
    track.Add(source.events[1], source.Data(source.events[1]));
    EXPECT_EQ(Describe(track), std::vector<std::string>{"4 FF 03 [ 64 65 ]"});

    Event outside = source.events[0];
    outside.dataOffset = 4;
    EXPECT_THROW((void)source.Data(outside), Error);
}

TEST(WriteFile, WritesAFileThatReadsBack) {
    const test::TempDir dir;
    const auto path = dir.Path() / "small.mid";
    WriteFile(path, SmallFile());
    EXPECT_EQ(Describe(ReadFile(path).tracks[0]), Describe(Read(Write(SmallFile())).tracks[0]));

    EXPECT_THROW((void)ReadFile(dir.Path() / "missing.mid"), Error);
    EXPECT_THROW(WriteFile(dir.Path() / "no" / "such" / "folder.mid", SmallFile()), Error);
}

} // namespace
} // namespace ostinel::smf
