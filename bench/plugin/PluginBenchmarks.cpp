// Speed of the audio path, the state chunk and instance creation, measured on the module behind
// the entry point with the test host (recording off).
#include "support/BenchmarkMain.h"
#include "support/FakeHost.h"
#include "support/PluginInstance.h"
#include "support/StateBuilder.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace ostinel;
using namespace ostinel::test;
using namespace ostinel::vst;

// Every note of channels 1..9 maps to three targets.
std::vector<std::uint8_t> ThreeTargetState() {
    auto map = DefaultMap();
    for (int c = 0; c < 9; ++c) {
        (*map)[c].SetActive(true);
        for (int n = 0; n < 128; ++n) {
            TOstinTo& targets = (*map)[c].Notes[n].Targets;
            targets[1].SetNote(static_cast<float>((n + 4) % 128));
            targets[2].SetNote(static_cast<float>((n + 7) % 128));
            targets[2].SetVelocityScale(-20);
        }
    }
    return MakeChunk(*map);
}

struct Bench {
    Bench() {
        host.record = false;
        plugin = std::make_unique<Instance>();
        plugin->SetChunk(ThreeTargetState(), true);
    }
    FakeHost host;
    std::unique_ptr<Instance> plugin;
};

// A note-on of channel 1 note 60 and its note-off, as two event lists.
struct NotePair {
    NotePair() {
        on.Add(0x90, 60, 100);
        off.Add(0x80, 60, 0);
        onList = on.Get();
        offList = off.Get();
    }
    void Play(AEffect* e) const {
        e->dispatcher(e, effProcessEvents, 0, 0, onList, 0);
        e->dispatcher(e, effProcessEvents, 0, 0, offList, 0);
    }
    EventList on, off;
    VstEvents* onList = nullptr;
    VstEvents* offList = nullptr;
};

// One note-on mapped to three targets, then its note-off (which releases three entries).
void BM_NoteOnThreeTargetsAndOff(benchmark::State& state) {
    Bench b;
    NotePair pair;
    AEffect* e = b.plugin->Effect();
    std::int64_t n = 0;
    for (auto _ : state) {
        pair.Play(e);
        if (++n % 128 == 0)
            b.plugin->Process(32); // hand the queue to the host now and then
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("per note-on + note-off pair");
}
BENCHMARK(BM_NoteOnThreeTargetsAndOff);

// A note-on with three targets alone: the table is emptied by a transport jump every 256 notes.
void BM_NoteOnThreeTargets(benchmark::State& state) {
    Bench b;
    std::vector<EventList> ons(128);
    std::vector<VstEvents*> lists;
    for (int k = 0; k < 128; ++k) {
        ons[static_cast<std::size_t>(k)].Add(0x90, static_cast<std::uint8_t>(k), 100);
        lists.push_back(ons[static_cast<std::size_t>(k)].Get());
    }
    AEffect* e = b.plugin->Effect();
    std::int64_t n = 0;
    double pos = 0;
    for (auto _ : state) {
        e->dispatcher(e, effProcessEvents, 0, 0, lists[static_cast<std::size_t>(n & 127)], 0);
        if (++n % 256 == 0) {
            state.PauseTiming();
            b.host.SetTransport(pos = pos > 0 ? 0 : 1024, true); // a jump back releases all
            b.plugin->Process(32);
            b.plugin->Process(32);
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NoteOnThreeTargets);

// The same note-on/note-off pair while 1002 other mapped notes are sounding: the note-off
// visits only its own entries, so this should cost what the pair costs alone.
void BM_NoteOnAndOffWith1000Sounding(benchmark::State& state) {
    Bench b;
    EventList fill;
    int sounding = 0;
    for (int c = 1; c < 9 && sounding < 1000; ++c)
        for (int n = 0; n < 128 && sounding < 1000; ++n, sounding += 3)
            fill.Add(static_cast<std::uint8_t>(0x90 | c), static_cast<std::uint8_t>(n), 100);
    b.plugin->SendEvents(fill);
    b.plugin->Process(32);
    NotePair pair;
    AEffect* e = b.plugin->Effect();
    std::int64_t n = 0;
    for (auto _ : state) {
        pair.Play(e);
        if (++n % 128 == 0)
            b.plugin->Process(32); // no transport change: the sounding notes stay
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("per pair, " + std::to_string(sounding) + " entries sounding");
}
BENCHMARK(BM_NoteOnAndOffWith1000Sounding);

// A block of 1000 events (note-ons and note-offs on mapped and plain channels, controllers)
// followed by the processing call that hands the output to the host.
void BM_Block1000Events(benchmark::State& state) {
    Bench b;
    EventList block;
    for (int i = 0; i < 250; ++i) {
        block.Add(static_cast<std::uint8_t>(0x90 | (i % 12)), static_cast<std::uint8_t>(i % 128),
                  100);
        block.Add(0xB0, 74, static_cast<std::uint8_t>(i % 128));
        block.Add(static_cast<std::uint8_t>(0x80 | (i % 12)), static_cast<std::uint8_t>(i % 128),
                  0);
        block.Add(0xE0, 0, 64);
    }
    VstEvents* list = block.Get();
    AEffect* e = b.plugin->Effect();
    for (auto _ : state) {
        e->dispatcher(e, effProcessEvents, 0, 0, list, 0);
        b.plugin->Process(256);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Block1000Events);

// The host loop through the ABI: per 64-frame block, one event list of eight through the
// dispatcher (three note-ons on mapped channels, the note-offs of the previous block's three
// notes, a controller and a pitch bend: 20 events out), then processReplacing, whose flush the
// host copies into its own buffer. The transport plays on, so no block releases everything.
void BM_HostLoop64FrameBlocks(benchmark::State& state) {
    constexpr int kBlocks = 16;
    constexpr int kVoices = 3;
    constexpr int kFrames = 64;
    constexpr int kEventsPerBlock = 2 * kVoices + 2;
    Bench b;
    b.host.copyEvents = true;
    b.host.copied.reserve(1024);
    b.host.SetTransport(0, true);
    // Voice k of block `block`: a mapped channel (1..9) and a note.
    auto voice = [](int block, int k) {
        const int i = ((block + kBlocks) % kBlocks) * kVoices + k;
        return std::pair{static_cast<std::uint8_t>(i % 9),
                         static_cast<std::uint8_t>(36 + (7 * i) % 48)};
    };
    std::vector<EventList> blocks(kBlocks);
    std::vector<VstEvents*> lists;
    for (int block = 0; block < kBlocks; ++block) {
        EventList& list = blocks[static_cast<std::size_t>(block)];
        std::int32_t delta = 0;
        for (int k = 0; k < kVoices; ++k) {
            const auto [pc, pn] = voice(block - 1, k);
            const auto [c, n] = voice(block, k);
            list.Add(static_cast<std::uint8_t>(0x80 | pc), pn, 0, delta);
            list.Add(static_cast<std::uint8_t>(0x90 | c), n, static_cast<std::uint8_t>(80 + k),
                     delta + 2);
            delta += 16;
        }
        list.Add(0xB0, 74, static_cast<std::uint8_t>(block * 8), 50);
        list.Add(0xE0, 0, static_cast<std::uint8_t>(64 + block), 60);
        lists.push_back(list.Get());
    }
    std::array<std::vector<float>, 2> buffers{std::vector<float>(kFrames),
                                              std::vector<float>(kFrames)};
    float* out[2] = {buffers[0].data(), buffers[1].data()};
    AEffect* e = b.plugin->Effect();
    std::size_t n = 0;
    for (auto _ : state) {
        e->dispatcher(e, effProcessEvents, 0, 0, lists[n++ % kBlocks], 0);
        e->processReplacing(e, nullptr, out, kFrames);
        b.host.timeInfo.samplePos += kFrames;
    }
    benchmark::DoNotOptimize(b.host.copied.data());
    state.SetItemsProcessed(state.iterations() * kEventsPerBlock);
    state.SetLabel("per input event");
}
BENCHMARK(BM_HostLoop64FrameBlocks);

void BM_DefaultChunkSave(benchmark::State& state) {
    FakeHost host;
    Instance plugin;
    for (auto _ : state) {
        void* data = nullptr;
        benchmark::DoNotOptimize(plugin.Dispatch(effGetChunk, 1, 0, &data));
    }
}
BENCHMARK(BM_DefaultChunkSave)->Unit(benchmark::kMicrosecond);

void BM_DefaultChunkLoad(benchmark::State& state) {
    FakeHost host;
    Instance plugin;
    std::vector<std::uint8_t> chunk = plugin.GetChunk(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            plugin.Dispatch(effSetChunk, 1, static_cast<VstIntPtr>(chunk.size()), chunk.data()));
}
BENCHMARK(BM_DefaultChunkLoad)->Unit(benchmark::kMicrosecond);

void BM_CreateOpenClose(benchmark::State& state) {
    FakeHost host;
    host.record = false;
    for (auto _ : state) {
        AEffect* e = Entries().vstPluginMain(&FakeHost::Callback);
        e->dispatcher(e, effOpen, 0, 0, nullptr, 0);
        e->dispatcher(e, effClose, 0, 0, nullptr, 0);
    }
}
BENCHMARK(BM_CreateOpenClose)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return ostinel::test::RunBenchmarks(argc, argv);
}
