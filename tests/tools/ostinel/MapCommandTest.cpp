// `ostinel map` with the real plug-in binary, its output checked with an independent MIDI
// reader (mido).
#include "midi/SmfReader.h"
#include "preset/PresetState.h"
#include "tools/ostinel/ToolSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

namespace ostinel::cli::test {
namespace {

// Checks through mido, the independent reader, need Python with mido (on the Linux side only).
#define OSTINEL_SKIP_WITHOUT_MIDO()                                                                \
    if (!MidoPython())                                                                             \
    GTEST_SKIP() << "python3 with mido is not installed (under wine: Linux only)"

class MapCommand : public ::testing::Test {
protected:
    TempDir dir_;
};

std::vector<std::string> MetaLines(const std::vector<std::string>& listing) {
    std::vector<std::string> metas;
    for (const std::string& line : listing)
        if (line.find(" meta ") != std::string::npos)
            metas.push_back(line);
    return metas;
}

std::size_t CountChannelMessages(const std::vector<std::string>& listing) {
    std::size_t n = 0;
    for (const std::string& line : listing)
        if (line.find(" on ") != std::string::npos || line.find(" off ") != std::string::npos ||
            line.find(" other ") != std::string::npos)
            ++n;
    return n;
}

// Output note-ons per (track, tick), sorted, for comparison with what the input should become.
std::map<std::pair<int, int>, std::multiset<std::pair<int, int>>>
OnsByTime(const std::vector<MidoNote>& notes) {
    std::map<std::pair<int, int>, std::multiset<std::pair<int, int>>> byTime;
    for (const MidoNote& n : notes)
        if (n.on)
            byTime[{n.track, n.tick}].insert({n.channel, n.note});
    return byTime;
}

TEST_F(MapCommand, ExampleGrooveComesOutInTheNewKitLayout) {
    OSTINEL_SKIP_WITHOUT_MIDO();
    // The example preset's layout (channel 10, 0-based 9): GM note -> pad note.
    const std::map<int, int> pads = {{35, 36}, {36, 36}, {37, 37}, {38, 37}, {40, 37},
                                     {42, 38}, {44, 38}, {46, 39}, {49, 40}, {57, 40},
                                     {51, 41}, {45, 42}, {48, 43}};
    const fs::path in = ExamplesDir() / "drum-groove.mid";
    const fs::path out = dir_ / "groove-pads.mid";
    const RunResult r =
        RunTool({"map", in.string(), out.string(), "--preset",
                 (ExamplesDir() / "gm-to-8-pads.quorvatp").string(), "--table", "3"});
    ASSERT_EQ(r.status, 0) << r.err;

    const std::vector<std::string> before = MidoListing(in);
    const std::vector<std::string> after = MidoListing(out);
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after[0], before[0]); // type, ticks per quarter, track count
    EXPECT_EQ(MetaLines(after), MetaLines(before));

    const std::vector<MidoNote> inNotes = MidoNotes(before);
    const std::vector<MidoNote> outNotes = MidoNotes(after);
    EXPECT_EQ(PairingProblem(outNotes), "");
    std::map<std::pair<int, int>, std::multiset<std::pair<int, int>>> expected;
    long remapped = 0;
    for (const MidoNote& n : inNotes) {
        if (!n.on)
            continue;
        ASSERT_EQ(n.channel, 9);
        const int pad = pads.at(n.note);
        expected[{n.track, n.tick}].insert({n.channel, pad});
        remapped += pad != n.note ? 1 : 0;
    }
    EXPECT_EQ(OnsByTime(outNotes), expected);
    EXPECT_EQ(
        std::count_if(outNotes.begin(), outNotes.end(), [](const MidoNote& n) { return n.on; }),
        std::count_if(inNotes.begin(), inNotes.end(), [](const MidoNote& n) { return n.on; }));

    EXPECT_EQ(SummaryValue(r.out, "events in"), static_cast<long>(CountChannelMessages(before)));
    EXPECT_EQ(SummaryValue(r.out, "events out"), static_cast<long>(CountChannelMessages(after)));
    EXPECT_EQ(SummaryValue(r.out, "notes remapped"), remapped);
    EXPECT_EQ(SummaryValue(r.out, "notes dropped"), 0);
    EXPECT_NE(r.out.find("First 3 notes, before and after:"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("ch10 042 - F#1  v90     ch10 038 - D1   v68"), std::string::npos)
        << r.out;
}

// A bank file holds the same program as the preset file: both map alike (a bank used to be
// handed to the plug-in as a preset chunk, which it rejects, so the default map was used).
TEST_F(MapCommand, ABankFileMapsLikeTheSamePresetFile) {
    const fs::path in = ExamplesDir() / "drum-groove.mid";
    const fs::path presetFile = ExamplesDir() / "gm-to-8-pads.quorvatp";
    PresetState bank = ReadPreset(ReadBytes(presetFile));
    bank.container = Container::Bank;
    const fs::path bankFile = dir_ / "gm-to-8-pads.fxb";
    WriteBytes(bankFile, WritePreset(bank));
    const auto map = [&](const fs::path& preset, const std::string& name) {
        const fs::path out = dir_ / name;
        const RunResult r =
            RunTool({"map", in.string(), out.string(), "--preset", preset.string()});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_GT(SummaryValue(r.out, "notes remapped"), 0) << r.out;
        return ReadBytes(out);
    };
    const std::vector<std::uint8_t> fromPreset = map(presetFile, "preset.mid");
    ASSERT_FALSE(fromPreset.empty());
    EXPECT_EQ(map(bankFile, "bank.mid"), fromPreset);
}

TEST_F(MapCommand, SameSeedSameBytesOtherSeedOtherChoices) {
    const fs::path in = ExamplesDir() / "melody.mid";
    const std::string preset = (ExamplesDir() / "harmony-thirds.quorvatp").string();
    const auto map = [&](const std::string& seed) {
        const fs::path out = dir_ / ("seed" + seed + ".mid");
        const RunResult r =
            RunTool({"map", in.string(), out.string(), "--preset", preset, "--seed", seed});
        EXPECT_EQ(r.status, 0) << r.err;
        return ReadBytes(out);
    };
    const std::vector<std::uint8_t> first = map("7");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(map("7"), first);
    bool differs = false;
    for (const char* seed : {"1", "2", "3", "4"})
        differs = differs || map(seed) != first;
    EXPECT_TRUE(differs) << "the harmony's 60% probability never chose differently";
}

std::vector<std::string> WithoutReleaseVelocity(std::vector<std::string> listing) {
    for (std::string& line : listing)
        if (line.find(" off ") != std::string::npos)
            line.erase(line.rfind(' '));
    return listing;
}

struct TimingCase {
    const char* name;
    std::uint16_t division;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> tempos; // tick, µs per quarter
    std::vector<std::uint32_t> ticks;
    std::vector<std::string> options;
};

smf::MidiFile TimingFile(const TimingCase& c) {
    smf::MidiFile file;
    file.format = 1;
    file.division = c.division;
    smf::Track conductor;
    for (const auto& [tick, tempo] : c.tempos) {
        const std::uint8_t data[3] = {static_cast<std::uint8_t>(tempo >> 16),
                                      static_cast<std::uint8_t>(tempo >> 8),
                                      static_cast<std::uint8_t>(tempo)};
        conductor.AddMeta(tick, smf::kMetaTempo, data);
    }
    file.tracks.push_back(conductor);
    // Channel 1 is mapped (onto itself by default), channel 2 passes through.
    for (const std::uint8_t channel : {0, 1}) {
        std::vector<std::pair<std::uint32_t, std::uint8_t>> notes;
        for (std::size_t i = 0; i < c.ticks.size(); ++i)
            notes.emplace_back(c.ticks[i], static_cast<std::uint8_t>(40 + i % 40));
        file.tracks.push_back(NotesTrack(channel, notes, 1));
    }
    return file;
}

TEST_F(MapCommand, EventsKeepTheirExactTicks) {
    OSTINEL_SKIP_WITHOUT_MIDO();
    const std::vector<std::uint32_t> irregular = {0,   1,   5,   96,   97,   98,   200,
                                                  384, 385, 386, 1000, 4093, 70000};
    const TimingCase cases[] = {
        {"120 bpm", 480, {}, irregular, {}},
        {"tempo changes",
         96,
         {{0, 500000}, {97, 333333}, {385, 1000000}, {4000, 2000000}},
         irregular,
         {}},
        {"small blocks, other rate",
         960,
         {{0, 400000}},
         irregular,
         {"--block", "64", "--rate", "48000"}},
        {"one-sample blocks", 480, {}, {0, 1, 2, 3, 10}, {"--block", "1"}},
        {"SMPTE 25 fps, 40 ticks per frame", 0xE728, {{0, 250000}}, irregular, {}},
    };
    for (const TimingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path in = dir_ / "timing.mid";
        const fs::path out = dir_ / "timing-out.mid";
        WriteMidi(in, TimingFile(c));
        std::vector<std::string> args = {"map", in.string(), out.string()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const RunResult r = RunTool(args);
        ASSERT_EQ(r.status, 0) << r.err;
        // The plug-in releases mapped notes with their note-on's velocity: compare the rest.
        EXPECT_EQ(WithoutReleaseVelocity(MidoListing(out)),
                  WithoutReleaseVelocity(MidoListing(in)));
    }
}

TEST_F(MapCommand, YearsOfSilenceCostNothing) {
    OSTINEL_SKIP_WITHOUT_MIDO();
    // One tick per quarter at the slowest tempo: the second note comes 142 years later.
    smf::MidiFile file;
    file.format = 0;
    file.division = 1;
    smf::Track track;
    const std::uint8_t slowest[3] = {0xFF, 0xFF, 0xFF};
    track.AddMeta(0, smf::kMetaTempo, slowest);
    track.AddChannel(0, 0x90, 60, 100);
    track.AddChannel(1, 0x80, 60, 0);
    track.AddChannel(0x0FFFFFF0, 0x90, 62, 100);
    track.AddChannel(0x0FFFFFF1, 0x80, 62, 0);
    file.tracks.push_back(track);
    const fs::path in = dir_ / "silence.mid";
    const fs::path out = dir_ / "silence-out.mid";
    WriteMidi(in, file);
    const RunResult r = RunTool({"map", in.string(), out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(WithoutReleaseVelocity(MidoListing(out)), WithoutReleaseVelocity(MidoListing(in)));
}

TEST_F(MapCommand, TicksShorterThanASampleMoveByLessThanASample) {
    OSTINEL_SKIP_WITHOUT_MIDO();
    // 3840 ticks per quarter at 240 bpm: a tick lasts 65 µs, a sample at 8 kHz 125 µs.
    const TimingCase c{"sub-sample ticks", 3840, {{0, 250000}}, {0, 1, 2, 3, 100, 101, 5000}, {}};
    const fs::path in = dir_ / "fine.mid";
    const fs::path out = dir_ / "fine-out.mid";
    WriteMidi(in, TimingFile(c));
    const RunResult r = RunTool({"map", in.string(), out.string(), "--rate", "8000"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<MidoNote> inNotes = MidoNotes(MidoListing(in));
    const std::vector<MidoNote> outNotes = MidoNotes(MidoListing(out));
    ASSERT_EQ(outNotes.size(), inNotes.size());
    EXPECT_EQ(PairingProblem(outNotes), "");
    for (std::size_t i = 0; i < inNotes.size(); ++i) {
        EXPECT_EQ(outNotes[i].note, inNotes[i].note);
        EXPECT_LE(std::abs(outNotes[i].tick - inNotes[i].tick), 2) << i;
    }
}

TEST_F(MapCommand, NotesLeftSoundingAreReleasedByThePluginAtTheTracksEnd) {
    OSTINEL_SKIP_WITHOUT_MIDO();
    smf::MidiFile file;
    file.format = 0;
    smf::Track track;
    track.AddChannel(0, 0x90, 60, 100); // never released
    track.AddChannel(0, 0x91, 70, 100); // channel 2 passes through: never released either
    track.AddChannel(480, 0x90, 62, 100);
    track.AddChannel(960, 0x80, 62, 0);
    track.AddMeta(1920, smf::kMetaEndOfTrack, {});
    file.tracks.push_back(track);
    const fs::path in = dir_ / "hanging.mid";
    const fs::path out = dir_ / "hanging-out.mid";
    WriteMidi(in, file);
    const RunResult r = RunTool({"map", in.string(), out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("notes left sounding at the end of IN's tracks: 2 (the plug-in released "
                         "the ones it holds with 1 note-offs at the track's end)"),
              std::string::npos)
        << r.out;
    const std::vector<MidoNote> notes = MidoNotes(MidoListing(out));
    std::vector<std::string> offs;
    for (const MidoNote& n : notes)
        if (!n.on)
            offs.push_back(std::to_string(n.tick) + ":" + std::to_string(n.channel) + ":" +
                           std::to_string(n.note));
    // The mapped note is released at the end; the passed-through one is left as it was.
    EXPECT_EQ(offs, (std::vector<std::string>{"960:0:62", "1920:0:60"}));
}

// A preset with three targets per note on channel 1: n, n + 12, n + 24.
fs::path TripleTargetPreset(const fs::path& folder) {
    PresetState state;
    for (int n = 0; n < 100; ++n)
        for (int k = 0; k < 3; ++k)
            (*state.map)[0].Notes[n].Targets[k].SetNote(static_cast<float>(n + 12 * k));
    const fs::path path = folder / "triple.quorvatp";
    WriteBytes(path, WritePreset(state));
    return path;
}

TEST_F(MapCommand, DenseBlocksAreCutSoThePluginsOutputListNeverOverflows) {
    OSTINEL_SKIP_WITHOUT_MIDO();
    // 400 notes in 0.42 s all fall into one 65536-sample block; with three targets each they
    // make 2400 output events, more than the plug-in hands over per block.
    std::vector<std::pair<std::uint32_t, std::uint8_t>> notes;
    for (std::uint32_t i = 0; i < 400; ++i)
        notes.emplace_back(i, static_cast<std::uint8_t>(20 + i % 60));
    smf::MidiFile file;
    file.format = 0;
    file.tracks.push_back(NotesTrack(0, notes, 1));
    const fs::path in = dir_ / "dense.mid";
    const fs::path out = dir_ / "dense-out.mid";
    WriteMidi(in, file);
    const RunResult r = RunTool({"map", in.string(), out.string(), "--block", "65536", "--preset",
                                 TripleTargetPreset(dir_.Path()).string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::vector<MidoNote> outNotes = MidoNotes(MidoListing(out));
    EXPECT_EQ(outNotes.size(), 2400u);
    EXPECT_EQ(PairingProblem(outNotes), "");
    EXPECT_EQ(SummaryValue(r.out, "notes remapped"), 400);
}

TEST_F(MapCommand, MoreEventsAtOneSampleThanThePluginCanReturnAreReported) {
    smf::MidiFile file;
    file.format = 0;
    smf::Track track;
    for (int i = 0; i < 1100; ++i)
        track.AddChannel(0, 0xB1, static_cast<std::uint8_t>(i % 120), 1); // passed through
    file.tracks.push_back(track);
    const fs::path in = dir_ / "burst.mid";
    WriteMidi(in, file);
    const RunResult r = RunTool({"map", in.string(), (dir_ / "burst-out.mid").string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("warning: in 1 blocks the plug-in's output list was full"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(SummaryValue(r.out, "events out"), 1023);
}

// Program changes and SysEx on several tracks, a conductor track without channel messages, and
// a kept event at the tick of a note-off (it comes first at its tick).
smf::MidiFile SongWithProgramsAndSysEx() {
    const std::uint8_t gmReset[] = {0x7E, 0x7F, 0x09, 0x01, 0xF7};
    const std::uint8_t reverb[] = {0x43, 0x10, 0x4C, 0x02, 0x01, 0x00, 0x01, 0xF7};
    const std::uint8_t marker[] = {'v', 'e', 'r', 's', 'e'};
    const std::uint8_t tempo[] = {0x07, 0xA1, 0x20};
    smf::MidiFile file;
    file.format = 1;
    smf::Track conductor;
    conductor.AddMeta(0, smf::kMetaTempo, tempo);
    conductor.AddSysEx(0, smf::kSysExStatus, gmReset);
    conductor.AddMeta(960, 0x06, marker);
    file.tracks.push_back(conductor);
    smf::Track piano;
    piano.AddChannel(0, 0xC0, 5);
    piano.AddChannel(0, 0x90, 60, 90);
    piano.AddSysEx(240, smf::kSysExStatus, reverb);
    piano.AddChannel(480, 0x80, 60, 0);
    piano.AddChannel(480, 0xC0, 7);
    piano.AddChannel(480, 0x90, 62, 80);
    piano.AddChannel(600, 0xE0, 0, 64);
    piano.AddChannel(960, 0x80, 62, 0);
    file.tracks.push_back(piano);
    smf::Track drums;
    drums.AddChannel(0, 0xC9, 25);
    drums.AddSysEx(0, smf::kSysExStatus, reverb);
    drums.AddChannel(120, 0x99, 36, 100);
    drums.AddChannel(240, 0x89, 36, 0);
    drums.AddChannel(720, 0xC1, 20);
    file.tracks.push_back(drums);
    return file;
}

TEST_F(MapCommand, EventsThePluginDoesNotHandleAreKeptUnlessLikeADaw) {
    OSTINEL_SKIP_WITHOUT_MIDO();
    struct Case {
        const char* name;
        std::vector<std::string> options;
        std::vector<std::string> listing;
        long eventsIn;
        const char* carried;
    };
    const Case cases[] = {
        {"file converter",
         {},
         {"type 1 ppq 480 tracks 3",
          "0 0 meta set_tempo",
          "0 0 other sysex 7e 7f 09 01",
          "0 960 meta marker",
          "0 960 meta end_of_track",
          "1 0 other program_change 0 5",
          "1 0 on 0 60 90",
          "1 240 other sysex 43 10 4c 02 01 00 01",
          "1 480 other program_change 0 7",
          "1 480 off 0 60 90",
          "1 480 on 0 62 80",
          "1 600 other pitchwheel",
          "1 960 off 0 62 80",
          "1 960 meta end_of_track",
          "2 0 other program_change 9 25",
          "2 0 other sysex 43 10 4c 02 01 00 01",
          "2 120 on 9 36 100",
          "2 240 off 9 36 0",
          "2 720 other program_change 1 20",
          "2 720 meta end_of_track"},
         7,
         "kept: 4 program changes, 3 system exclusive, 2 meta events; dropped: none"},
        {"like a DAW",
         {"--like-daw"},
         {"type 1 ppq 480 tracks 3", "0 0 meta set_tempo", "0 960 meta marker",
          "0 960 meta end_of_track", "1 0 on 0 60 90", "1 480 off 0 60 90", "1 480 on 0 62 80",
          "1 600 other pitchwheel", "1 960 off 0 62 80", "1 960 meta end_of_track",
          "2 120 on 9 36 100", "2 240 off 9 36 0", "2 720 meta end_of_track"},
         11,
         "kept: 2 meta events; dropped: 4 program changes, 3 system exclusive"},
    };
    const fs::path in = dir_ / "song.mid";
    WriteMidi(in, SongWithProgramsAndSysEx());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path out = dir_ / "song-out.mid";
        std::vector<std::string> args = {"map", in.string(), out.string()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const RunResult r = RunTool(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(MidoListing(out), c.listing);
        EXPECT_EQ(SummaryValue(r.out, "events in"), c.eventsIn);
        EXPECT_EQ(SummaryValue(r.out, "events out"), 7);
        EXPECT_NE(r.out.find("  " + std::string(c.carried) + "\n"), std::string::npos) << r.out;
    }
}

TEST_F(MapCommand, AWholeSongKeepsEveryChannelsProgram) {
    OSTINEL_SKIP_WITHOUT_MIDO();
    // Format 1: a conductor track, one track per channel with its name and program, and a
    // lyrics track without channel messages; mapped with the default map.
    smf::MidiFile file;
    file.format = 1;
    smf::Track conductor;
    const std::uint8_t tempo[] = {0x09, 0x27, 0xC0};
    const std::uint8_t meter[] = {4, 2, 24, 8};
    conductor.AddMeta(0, smf::kMetaTempo, tempo);
    conductor.AddMeta(0, smf::kMetaTimeSignature, meter);
    file.tracks.push_back(conductor);
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        std::vector<std::pair<std::uint32_t, std::uint8_t>> notes;
        for (std::uint32_t bar = 0; bar < 4; ++bar)
            notes.emplace_back(bar * 1920 + channel * 10, static_cast<std::uint8_t>(40 + channel));
        smf::Track track = NotesTrack(channel, notes, 400);
        const std::uint8_t name[] = {'p', 'a', 'r', 't', static_cast<std::uint8_t>('a' + channel)};
        smf::Track named;
        named.AddMeta(0, smf::kMetaTrackName, name);
        named.AddChannel(channel * 10, static_cast<std::uint8_t>(0xC0 | channel),
                         static_cast<std::uint8_t>(channel * 7));
        for (const smf::Event& e : track.events)
            named.Add(e);
        file.tracks.push_back(named);
    }
    smf::Track lyrics;
    const std::uint8_t word[] = {'l', 'a'};
    for (std::uint32_t bar = 0; bar < 4; ++bar)
        lyrics.AddMeta(bar * 1920, 0x05, word);
    file.tracks.push_back(lyrics);
    ASSERT_EQ(file.tracks.size(), 18u);

    const fs::path in = dir_ / "song18.mid";
    const fs::path out = dir_ / "song18-out.mid";
    WriteMidi(in, file);
    const RunResult r = RunTool({"map", in.string(), out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto programs = [](const std::vector<std::string>& listing) {
        std::vector<std::string> lines;
        for (const std::string& line : listing)
            if (line.find(" program_change ") != std::string::npos)
                lines.push_back(line);
        return lines;
    };
    const std::vector<std::string> before = MidoListing(in);
    const std::vector<std::string> after = MidoListing(out);
    EXPECT_EQ(programs(before).size(), 16u);
    EXPECT_EQ(programs(after), programs(before));
    // The plug-in releases mapped notes with their note-on's velocity: compare the rest.
    EXPECT_EQ(WithoutReleaseVelocity(after), WithoutReleaseVelocity(before));
    EXPECT_NE(r.out.find("  kept: 16 program changes, 22 meta events; dropped: none\n"),
              std::string::npos)
        << r.out;
}

TEST_F(MapCommand, OutputFolderGetsTheInputsName) {
    const RunResult r =
        RunTool({"map", (ExamplesDir() / "melody.mid").string(), dir_.Path().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir_ / "melody.mid"));
}

TEST_F(MapCommand, BadInputIsAClearErrorAndWritesNothing) {
    const std::vector<std::uint8_t> groove = ReadBytes(ExamplesDir() / "drum-groove.mid");
    const std::vector<std::uint8_t> header(groove.begin(), groove.begin() + 14);
    std::vector<std::uint8_t> dataWithoutStatus = header;
    dataWithoutStatus[11] = 1; // one track
    const std::vector<std::uint8_t> track = {'M', 'T', 'r', 'k', 0, 0, 0, 3, 0, 0x40, 0x40};
    dataWithoutStatus.insert(dataWithoutStatus.end(), track.begin(), track.end());
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* message;
    };
    const Case cases[] = {
        {"empty", {}, ""},
        {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '!'}, ""},
        {"header only", header, ""},
        {"cut in a track", std::vector<std::uint8_t>(groove.begin(), groove.end() - 20), "track"},
        {"data byte without status", dataWithoutStatus, "track 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path in = dir_ / "bad.mid";
        const fs::path out = dir_ / "bad-out.mid";
        WriteBytes(in, c.bytes);
        const RunResult r = RunTool({"map", in.string(), out.string()});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind("error: " + in.string() + ": ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(out));
        EXPECT_FALSE(fs::exists(dir_ / "bad-out.mid.partial"));
    }
}

TEST_F(MapCommand, MissingFilesAndBadPresetsAreClearErrors) {
    const std::string groove = (ExamplesDir() / "drum-groove.mid").string();
    WriteText(dir_ / "fake.quorvatp", "not a state");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"map", (dir_ / "none.mid").string(), (dir_ / "o.mid").string()}, "does not exist"},
        {{"map", groove, (dir_ / "o.mid").string(), "--preset", (dir_ / "none").string()},
         "error: preset: cannot open"},
        {{"map", groove, (dir_ / "o.mid").string(), "--preset", (dir_ / "fake.quorvatp").string()},
         "fake.quorvatp: the preset cannot be loaded: not a plug-in state: Invalid chunk id"},
        {{"map", groove, groove}, "is the input file"},
    };
    for (const Case& c : cases) {
        const RunResult r = RunTool(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(dir_ / "o.mid"));
}

} // namespace
} // namespace ostinel::cli::test
