// The audio thread maps dense MIDI while the GUI thread edits cells, loads whole states through
// effSetChunk, previews rows and runs editor idle. Built with ThreadSanitizer in the sanitizer
// run; in every build it checks that no block ever sees a half-loaded map.
#include "common/QelCommon.h"
#include "ostinel/PluginFixture.h"
#include "support/StateBuilder.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace ostinel::test {
namespace {

using namespace vst;

TEST_F(PluginTest, StressAudioAgainstGuiRewrites) {
    // Two states whose channel 1 maps every note differently: identity, or mirrored.
    auto identity = DefaultMap();
    auto mirrored = DefaultMap();
    for (int n = 0; n < 128; ++n)
        (*mirrored)[0].Notes[n].Targets[0].SetNote(static_cast<float>(127 - n));
    (*identity)[1].SetActive(true);
    (*mirrored)[1].SetActive(true);
    const std::vector<std::uint8_t> stateA = MakeChunk(*identity);
    const std::vector<std::uint8_t> stateB = MakeChunk(*mirrored);
    OpenEditor();

    constexpr int kBlocks = 1500;
    std::atomic<bool> audioDone{false};
    std::atomic<int> mixedBlocks{0}, unpairedBlocks{0}, mappedBlocks{0}, blocks{0}, loads{0};

    std::thread audio([&] {
        EventList events;
        for (int n = 0; n < 48; ++n)
            events.Add(0x90, static_cast<std::uint8_t>(n), 100, n);
        for (int n = 0; n < 48; ++n)
            events.Add(0x91, static_cast<std::uint8_t>(n), 90, n);
        for (int n = 0; n < 48; ++n)
            events.Add(0x80, static_cast<std::uint8_t>(n), 0, 64 + n);
        for (int n = 0; n < 48; ++n)
            events.Add(0x81, static_cast<std::uint8_t>(n), 0, 64 + n);
        VstEvents* list = events.Get();
        std::vector<float> left(128), right(128);
        float* out[2] = {left.data(), right.data()};
        AEffect* e = instance->Effect();
        // At least kBlocks blocks, and on until the GUI thread has loaded a few states (a
        // loaded machine may starve it), within a time bound.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (int block = 0;
             (block < kBlocks || loads.load() < 8) && std::chrono::steady_clock::now() < deadline;
             ++block) {
            host.events.clear(); // the host's record belongs to this thread
            host.SetTransport(block * 128.0, true);
            e->dispatcher(e, effProcessEvents, 0, 0, list, 0);
            e->processReplacing(e, nullptr, out, 128);
            int identityOns = 0, mirroredOns = 0, ons = 0, offs = 0;
            for (const MidiOut& m : host.events) {
                if (m.status == 0x90 && m.data1 < 48 && m.data2 == 100) {
                    ++ons;
                    ++identityOns;
                } else if (m.status == 0x90 && m.data1 >= 80 && m.data2 == 100) {
                    ++ons;
                    ++mirroredOns;
                } else if (m.status == 0x80 && m.data2 == 100) {
                    ++offs;
                }
            }
            if (identityOns > 0 && mirroredOns > 0)
                ++mixedBlocks;
            if (ons != offs)
                ++unpairedBlocks;
            if (ons == 48)
                ++mappedBlocks;
            ++blocks;
        }
        audioDone = true;
    });

    for (int round = 0; !audioDone; ++round) {
        instance->SetChunk(round % 2 == 0 ? stateA : stateB, true);
        ++loads;
        TOstinel& map = module->Mapping();
        for (int n = 0; n < 128; ++n) {
            map[1].Notes[n].Targets[0].SetVelocityScale(static_cast<float>((n + round) % 50));
            map[1].Notes[n].Targets[1].SetNote(static_cast<float>((n + round) % 128));
        }
        (void)module->PreviewNote(1, round % 128, 100);
        instance->Effect()->setParameter(instance->Effect(), 0, 0.5f);
        instance->Dispatch(effEditIdle);
        if (round % 16 == 0)
            (void)instance->GetChunk(true);
    }
    audio.join();

    EXPECT_EQ(mixedBlocks.load(), 0) << "a block saw parts of two maps";
    EXPECT_EQ(unpairedBlocks.load(), 0) << "note-offs did not release their note-ons";
    EXPECT_EQ(mappedBlocks.load(), blocks.load());
    EXPECT_GE(blocks.load(), kBlocks);
    EXPECT_GE(loads.load(), 8);
}

} // namespace
} // namespace ostinel::test

namespace ostinel::test {
namespace {

// Two instances on two audio threads draw from the one process-wide generator while a GUI
// thread changes the process-wide octave offset; ThreadSanitizer watches the shared state.
TEST_F(PluginTest, StressSharedGeneratorAndOctaveOffset) {
    auto map = DefaultMap();
    for (int n = 0; n < 128; ++n) {
        (*map)[0].Notes[n].Targets[0].SetProbability(50);
        (*map)[0].Notes[n].Targets[0].SetRandom(100);
    }
    const std::vector<std::uint8_t> state = MakeChunk(*map);
    Instance second;
    auto* other = dynamic_cast<TVSTPlugin*>(TBasicVSTModule::FromEffect(second.Effect()));
    ASSERT_NE(other, nullptr);
    instance->SetChunk(state, true);
    second.SetChunk(state, true);
    host.record = false;

    std::atomic<bool> stop{false};
    auto play = [&stop](AEffect* e) {
        EventList events;
        for (int n = 0; n < 64; ++n)
            events.Add(0x90, static_cast<std::uint8_t>(n), 100)
                .Add(0x80, static_cast<std::uint8_t>(n), 0);
        VstEvents* list = events.Get();
        std::vector<float> left(64), right(64);
        float* out[2] = {left.data(), right.data()};
        for (int block = 0; block < 400; ++block) {
            e->dispatcher(e, effProcessEvents, 0, 0, list, 0);
            e->processReplacing(e, nullptr, out, 64);
        }
        stop = true;
    };
    std::thread a(play, instance->Effect());
    std::thread b(play, second.Effect());
    for (int i = 0; !stop; ++i) {
        module->SetLowestOctave(-(i % 3));
        (void)NoteName(60 + i % 12);
        (void)NoteOctave(60);
    }
    a.join();
    b.join();
    EXPECT_GT(host.eventCount.load(), 0);
}

} // namespace
} // namespace ostinel::test
