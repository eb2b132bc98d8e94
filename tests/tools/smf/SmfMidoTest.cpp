// Files checked against an independent MIDI library (Python's mido), in both directions.
#include "midi/SmfReader.h"
#include "midi/SmfWriter.h"
#include "tools/smf/SmfTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ostinel::smf {
namespace {

// A Python with mido: the one on PATH first, then the system's (where Debian installs
// python3-mido even when another Python comes first on PATH).
const std::optional<std::string>& MidoPython() {
    static const std::optional<std::string> python = []() -> std::optional<std::string> {
#if !defined(_WIN32) // under wine there is no Python: mido runs on the Linux side only
        for (const char* candidate : {"python3", "/usr/bin/python3"}) {
            const std::string command =
                std::string(candidate) + " -c \"import mido\" >/dev/null 2>&1";
            if (std::system(command.c_str()) == 0) {
                return candidate;
            }
        }
#endif
        return std::nullopt;
    }();
    return python;
}

// Runs a Python script with mido, gives back what it printed; fails the test on a non-zero
// exit.
std::string RunScript(const test::TempDir& dir, const std::string& script,
                      const std::string& argument) {
    const auto scriptPath = dir.Path() / "script.py";
    std::ofstream(scriptPath) << script;
    const std::string command =
        *MidoPython() + " '" + scriptPath.string() + "' '" + argument + "' 2>&1";
    std::string output;
#if defined(_WIN32)
    ADD_FAILURE() << "mido runs on the Linux side only: " << command;
#else
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return output;
    }
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        output.append(buffer.data(), got);
    }
    EXPECT_EQ(pclose(pipe), 0) << output;
#endif
    return output;
}

class Mido : public ::testing::Test {
protected:
    void SetUp() override {
        if (!MidoPython()) {
            GTEST_SKIP() << "python3 with mido is not installed (on Windows: Linux only)";
        }
    }
    test::TempDir dir_;
};

constexpr const char* kListScript = R"(import sys, mido
mid = mido.MidiFile(sys.argv[1])
print(mid.type, mid.ticks_per_beat)
for i, track in enumerate(mid.tracks):
    tick = 0
    for msg in track:
        tick += msg.time
        if msg.type in ('note_on', 'note_off'):
            print(i, tick, msg.type, msg.channel, msg.note, msg.velocity)
        elif msg.type == 'set_tempo':
            print(i, tick, 'tempo', msg.tempo)
        elif msg.type == 'track_name':
            print(i, tick, 'name', msg.name)
        elif msg.type == 'sysex':
            print(i, tick, 'sysex', ' '.join('%02X' % b for b in msg.data))
        elif msg.type == 'end_of_track':
            print(i, tick, 'end')
)";

MidiFile Groove() {
    MidiFile file;
    file.division = 480;
    Track& tempo = file.tracks.emplace_back();
    tempo.AddMeta(0, kMetaTrackName, test::Bytes{'G', 'r', 'o', 'o', 'v', 'e'});
    tempo.AddMeta(0, kMetaTempo, test::Bytes{0x07, 0xA1, 0x20});
    tempo.AddMeta(1920, kMetaTempo, test::Bytes{0x06, 0x1A, 0x80});
    Track& drums = file.tracks.emplace_back();
    drums.AddSysEx(0, kSysExStatus, test::Bytes{0x7E, 0x7F, 0x09, 0x01, 0xF7});
    for (uint32_t step = 0; step < 8; ++step) {
        const uint32_t tick = step * 240;
        drums.AddChannel(tick, 0x99, 42, 80);
        if (step % 4 == 0) {
            drums.AddChannel(tick, 0x99, 36, 110);
        }
        drums.AddChannel(tick + 120, 0x89, 42, 0);
        if (step % 4 == 0) {
            drums.AddChannel(tick + 120, 0x99, 36, 0); // note-on with velocity 0 ends it
        }
    }
    return file;
}

std::string ExpectedListing(const MidiFile& file) {
    std::string out = std::to_string(file.format) + " " + std::to_string(file.division) + "\n";
    for (std::size_t i = 0; i < file.tracks.size(); ++i) {
        const Track& track = file.tracks[i];
        const std::string prefix = std::to_string(i) + " ";
        uint32_t last = 0;
        for (const Event& e : track.events) {
            const std::string at = prefix + std::to_string(e.tick) + " ";
            last = e.tick;
            const auto data = track.Data(e);
            if (e.IsChannel()) {
                out += at + (e.Kind() == 0x90 ? "note_on " : "note_off ") +
                       std::to_string(e.Channel()) + " " + std::to_string(e.data1) + " " +
                       std::to_string(e.data2) + "\n";
            } else if (e.IsMetaOfType(kMetaTempo)) {
                out += at + "tempo " + std::to_string((data[0] << 16) | (data[1] << 8) | data[2]) +
                       "\n";
            } else if (e.IsMetaOfType(kMetaTrackName)) {
                out += at + "name " + std::string(data.begin(), data.end()) + "\n";
            } else if (e.IsSysEx()) {
                out += at + "sysex";
                for (std::size_t b = 0; b + 1 < data.size(); ++b) { // mido leaves out F7
                    test::AppendHex(out, data[b]);
                }
                out += "\n";
            }
        }
        out += prefix + std::to_string(last) + " end\n";
    }
    return out;
}

TEST_F(Mido, ReadsWhatWeWrite) {
    const MidiFile groove = Groove();
    for (const bool running : {true, false}) {
        SCOPED_TRACE(running ? "running status" : "no running status");
        const auto path = dir_.Path() / "groove.mid";
        WriteFile(path, groove, WriteOptions{.runningStatus = running});
        EXPECT_EQ(RunScript(dir_, kListScript, path.string()), ExpectedListing(groove));
    }
}

TEST_F(Mido, WeReadWhatMidoWrites) {
    const auto path = dir_.Path() / "mido.mid";
    (void)RunScript(dir_, R"(import sys, mido
mid = mido.MidiFile(type=1, ticks_per_beat=480)
t0 = mido.MidiTrack()
mid.tracks.append(t0)
t0.append(mido.MetaMessage('track_name', name='Tempo', time=0))
t0.append(mido.MetaMessage('set_tempo', tempo=400000, time=0))
t0.append(mido.MetaMessage('time_signature', numerator=3, denominator=4, time=0))
t1 = mido.MidiTrack()
mid.tracks.append(t1)
t1.append(mido.Message('sysex', data=[0x7E, 0x7F, 0x09, 0x01], time=0))
t1.append(mido.Message('note_on', channel=9, note=36, velocity=100, time=0))
t1.append(mido.Message('note_on', channel=9, note=42, velocity=80, time=0))
t1.append(mido.Message('note_off', channel=9, note=36, velocity=0, time=240))
t1.append(mido.Message('program_change', channel=2, program=5, time=10))
t1.append(mido.Message('pitchwheel', channel=2, pitch=0, time=200))
mid.save(sys.argv[1])
)",
                    path.string());
    const MidiFile file = ReadFile(path);
    EXPECT_EQ(file.format, 1);
    EXPECT_EQ(file.division, 480);
    ASSERT_EQ(file.tracks.size(), 2u);
    EXPECT_EQ(test::Describe(file.tracks[0]),
              (std::vector<std::string>{"0 FF 03 [ 54 65 6D 70 6F ]", "0 FF 51 [ 06 1A 80 ]",
                                        "0 FF 58 [ 03 02 18 08 ]", "0 FF 2F [ ]"}));
    EXPECT_EQ(
        test::Describe(file.tracks[1]),
        (std::vector<std::string>{"0 F0 [ 7E 7F 09 01 F7 ]", "0 99 24 64", "0 99 2A 50",
                                  "240 89 24 00", "250 C2 05", "450 E2 00 40", "450 FF 2F [ ]"}));
}

} // namespace
} // namespace ostinel::smf
