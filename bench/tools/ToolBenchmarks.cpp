// Mapping a large MIDI file through the plug-in binary, as `ostinel map` does it: a generated
// drum part of 100,000 notes (hi-hats with kick and snare) played block by block through the
// built Ostinel binary with the example kit preset. Goal: well under one second per file.
#include "mapping/FileMapper.h"
#include "midi/SmfReader.h"
#include "midi/SmfWriter.h"
#include "preset/PresetState.h"
#include "vsthost/PluginLibrary.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

using namespace ostinel;
using namespace ostinel::cli;

constexpr std::uint32_t kNotes = 100000;
constexpr std::uint32_t kSixteenth = 120; // ticks at 480 per quarter

// A step of `stepTicks` at 120 bpm and 480 ticks per quarter: sixteenths (120) make 5,000 bars,
// about 2 h 47 min; steps of 10 ticks (about 460 samples) put events into every block.
smf::MidiFile DrumFile(std::uint32_t stepTicks) {
    smf::MidiFile file;
    file.format = 1;
    file.division = 480;
    smf::Track conductor;
    const std::uint8_t tempo[3] = {0x07, 0xA1, 0x20}; // 500000 µs: 120 bpm
    conductor.AddMeta(0, smf::kMetaTempo, tempo);
    file.tracks.push_back(conductor);
    smf::Track drums;
    std::uint32_t notes = 0;
    for (std::uint32_t step = 0; notes < kNotes; ++step) {
        const std::uint32_t tick = step * stepTicks;
        const auto play = [&](std::uint8_t note, std::uint8_t velocity) {
            if (notes == kNotes)
                return;
            drums.AddChannel(tick, 0x99, note, velocity);
            drums.AddChannel(tick + stepTicks / 2, 0x89, note, 64);
            ++notes;
        };
        play(42, step % 2 == 0 ? 90 : 60);
        if (step % 8 == 0)
            play(36, 110);
        if (step % 8 == 4)
            play(38, 100);
    }
    std::stable_sort(drums.events.begin(), drums.events.end(),
                     [](const smf::Event& a, const smf::Event& b) { return a.tick < b.tick; });
    file.tracks.push_back(drums);
    return file;
}

MapOptions Options() {
    MapOptions options;
    options.preset = ReadFileBytes(OSTINEL_EXAMPLES_DIR "/gm-to-8-pads.quorvatp");
    return options;
}

// Bytes in, bytes out: reading, mapping through the binary and writing.
void BM_MapFile100kNotes(benchmark::State& state) {
    const std::vector<std::uint8_t> input = smf::Write(DrumFile(kSixteenth));
    const vsthost::PluginLibrary library(OSTINEL_PLUGIN_PATH);
    FileMapper mapper(library, Options());
    std::uint64_t notesOut = 0;
    for (auto _ : state) {
        const smf::MidiFile file = smf::Read(input);
        const MapResult result = mapper.Map(file);
        const std::vector<std::uint8_t> output = smf::Write(result.file);
        benchmark::DoNotOptimize(output.data());
        notesOut = result.summary.notesOut;
    }
    state.counters["notes"] = static_cast<double>(notesOut);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kNotes);
}
BENCHMARK(BM_MapFile100kNotes)->Unit(benchmark::kMillisecond);

// The same number of notes packed so densely that every block of the 7 minutes is played.
void BM_MapDenseFile100kNotes(benchmark::State& state) {
    const std::vector<std::uint8_t> input = smf::Write(DrumFile(10));
    const vsthost::PluginLibrary library(OSTINEL_PLUGIN_PATH);
    FileMapper mapper(library, Options());
    for (auto _ : state) {
        const smf::MidiFile file = smf::Read(input);
        const MapResult result = mapper.Map(file);
        const std::vector<std::uint8_t> output = smf::Write(result.file);
        benchmark::DoNotOptimize(output.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kNotes);
}
BENCHMARK(BM_MapDenseFile100kNotes)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
