// Mapping a large MIDI file through the plug-in binary, as `ostinel map` does it: a generated
// drum part of 100,000 notes (5,000 bars of sixteenth-note hi-hats with kick and snare, about
// 2 h 47 min at 120 bpm) played block by block through the built Ostinel binary with the
// example kit preset. Goal: well under one second per file.
#include "host/PluginLibrary.h"
#include "mapping/FileMapper.h"
#include "midi/SmfReader.h"
#include "midi/SmfWriter.h"
#include "preset/PresetState.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

using namespace ostinel;
using namespace ostinel::cli;

constexpr std::uint32_t kNotes = 100000;
constexpr std::uint32_t kSixteenth = 120; // ticks at 480 per quarter

smf::MidiFile DrumFile() {
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
        const std::uint32_t tick = step * kSixteenth;
        const auto play = [&](std::uint8_t note, std::uint8_t velocity) {
            if (notes == kNotes)
                return;
            drums.AddChannel(tick, 0x99, note, velocity);
            drums.AddChannel(tick + kSixteenth / 2, 0x89, note, 64);
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
    const std::vector<std::uint8_t> input = smf::Write(DrumFile());
    const PluginLibrary library(OSTINEL_PLUGIN_PATH);
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

// The same file with blocks of 64 samples: eight times as many processing calls.
void BM_MapFile100kNotesSmallBlocks(benchmark::State& state) {
    const smf::MidiFile file = DrumFile();
    const PluginLibrary library(OSTINEL_PLUGIN_PATH);
    MapOptions options = Options();
    options.host.blockSize = 64;
    FileMapper mapper(library, options);
    for (auto _ : state) {
        const MapResult result = mapper.Map(file);
        benchmark::DoNotOptimize(result.file.tracks.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kNotes);
}
BENCHMARK(BM_MapFile100kNotesSmallBlocks)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
