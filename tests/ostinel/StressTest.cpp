// The audio thread maps dense MIDI while the GUI thread edits cells, loads whole states through
// effSetChunk, previews rows and runs editor idle; and while the GUI thread drives the real
// editor (headless window) as a user and a host would. Built with ThreadSanitizer in the
// sanitizer run; in every build it checks that no block ever sees a half-loaded map.
#include "common/QelCommon.h"
#include "editor/map/MapEditorFixture.h"
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

namespace ostinel::test {
namespace {

// The real editor open while the audio thread plays the channel it shows, so highlights and
// learned notes flow from the audio thread to the editor at every idle. The GUI thread loads
// states through effSetChunk, clicks channel buttons, turns the wheel and drags on cells,
// learns into a cell from its menu, copies and pastes a channel, and closes and reopens the
// editor. Edits touch only the top rows, whose notes are never played, so every block must
// still map all its notes through one whole map.
class EditorStressTest : public MapEditorTest {
protected:
    // The notes played, 10..47: inside every range, far from the top rows the GUI thread edits.
    static constexpr int kLow = 10;
    static constexpr int kHigh = 48;

    // The host's idle call; only played notes are ever highlighted.
    void IdleAndCheck() {
        Idle();
        const THighlightedNotes& held = Form().HighlightedNotes();
        for (std::size_t i = 0; i < held.Count(); ++i) {
            EXPECT_GE(held.Items(i).Note, kLow);
            EXPECT_LT(held.Items(i).Note, kHigh);
        }
    }
    // Runs idle calls until the condition holds; false after 10 s.
    bool IdleUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            IdleAndCheck();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }
    // Until the audio thread has finished `n` more blocks. Blocks come in pairs (note-ons,
    // note-offs), so four make sure that a whole pair has played what the GUI thread has just
    // set up.
    void WaitBlocks(int n) {
        const int until = blocks.load() + n;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (blocks.load() < until && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    // Shows channel index `c` with its button; the audio thread plays it from now on.
    void ShowChannel(int c) {
        Click(Form().btnChannel(c + 1));
        shown = c;
    }
    void LearnIntoTopNoteCell() {
        RightPress(Col(0, 2), 1);
        Choose({"Learn"});
    }
    int TopNote() { return NoteOfRow(1, Grid().RowCount(), Form().GridFrom()); }

    // A handshake that stops the audio thread between a block of note-ons and the block of
    // their note-offs, so that an idle call sees the notes held: the GUI thread asks for a
    // pause, drains what is pending, lets the note-ons play, checks, lets the note-offs play.
    enum class Probe : std::uint8_t { None, PauseRequested, Paused, Play, Held, Release };
    // Audio thread: when the probe is at `at`, says `reached` and waits for `until`.
    void AwaitProbe(Probe at, Probe reached, Probe until) {
        if (probe.load() != at)
            return;
        probe.store(reached);
        while (probe.load() != until && !stopProbe.load())
            std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    // GUI thread: waits for the audio thread to reach `state`; false after 10 s.
    bool WaitProbe(Probe state) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (probe.load() != state) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        return true;
    }
    // The notes the audio thread holds reach the editor at the next idle call: exactly the
    // played notes of the shown channel (no learn is pending here).
    void CheckHighlightsOfHeldNotes() {
        probe.store(Probe::PauseRequested);
        ASSERT_TRUE(WaitProbe(Probe::Paused));
        Idle(); // what played before is released
        probe.store(Probe::Play);
        ASSERT_TRUE(WaitProbe(Probe::Held));
        Idle();
        const THighlightedNotes& held = Form().HighlightedNotes();
        EXPECT_EQ(held.Count(), static_cast<std::size_t>(kHigh - kLow));
        for (int n = kLow; n < kHigh; ++n)
            EXPECT_TRUE(held.IsHeld(n)) << n;
        probe.store(Probe::Release);
    }

    std::atomic<int> shown{0};
    std::atomic<int> blocks{0};
    std::atomic<Probe> probe{Probe::None};
    std::atomic<bool> stopProbe{false};
};

TEST_F(EditorStressTest, StressRealEditorWhileTheShownChannelPlays) {
    // State A: channels 1 and 3 map each note onto itself, channel 1 shown. State B: both
    // mirror the notes (n -> 127 - n), channel 3 shown with the range 10..120.
    auto identity = DefaultMap();
    auto mirrored = DefaultMap();
    for (const int c : {0, 2}) {
        (*identity)[c].SetActive(true);
        (*mirrored)[c].SetActive(true);
        for (int n = 0; n < 128; ++n)
            (*mirrored)[c].Notes[n].Targets[0].SetNote(static_cast<float>(127 - n));
    }
    (*mirrored)[2].SetRangeFrom(10);
    (*mirrored)[2].SetRangeTo(120);
    mirrored->SetSelectedChannel(2);
    struct Shown {
        std::vector<std::uint8_t> chunk;
        int channel, from, rows;
    };
    const Shown states[2] = {{MakeChunk(*identity), 0, 0, 129}, {MakeChunk(*mirrored), 2, 10, 112}};

    constexpr int kPlayed = kHigh - kLow;
    std::atomic<bool> stop{false};
    std::atomic<int> mixedBlocks{0}, unpairedBlocks{0}, incompleteBlocks{0};

    std::thread audio([&] {
        // Per channel, a block of note-ons and a block of their note-offs.
        std::array<EventList, kMapChannels> onLists, offLists;
        for (int c = 0; c < kMapChannels; ++c) {
            for (int n = kLow; n < kHigh; ++n) {
                onLists[static_cast<std::size_t>(c)].Add(static_cast<std::uint8_t>(0x90 | c),
                                                         static_cast<std::uint8_t>(n), 100,
                                                         n - kLow);
                offLists[static_cast<std::size_t>(c)].Add(
                    static_cast<std::uint8_t>(0x80 | c), static_cast<std::uint8_t>(n), 0, n - kLow);
            }
        }
        std::vector<float> left(128), right(128);
        float* out[2] = {left.data(), right.data()};
        vst::AEffect* e = session->instance->Effect();
        auto process = [&](EventList& list, int block) {
            host.SetTransport(block * 128.0, true);
            e->dispatcher(e, vst::effProcessEvents, 0, 0, list.Get(), 0);
            e->processReplacing(e, nullptr, out, 128);
        };
        for (int block = 0; !stop; block += 2) {
            AwaitProbe(Probe::PauseRequested, Probe::Paused, Probe::Play);
            host.events.clear(); // the host's record belongs to this thread
            const auto c = static_cast<std::size_t>(shown.load());
            process(onLists[c], block);
            AwaitProbe(Probe::Play, Probe::Held, Probe::Release);
            const std::size_t onEvents = host.events.size();
            process(offLists[c], block + 1);
            Probe lastStep = Probe::Release;
            (void)probe.compare_exchange_strong(lastStep, Probe::None);
            int identityOns = 0, mirroredOns = 0, ons = 0, released = 0, stray = 0;
            std::array<int, 128> sounding{};
            for (std::size_t i = 0; i < host.events.size(); ++i) {
                const MidiOut& m = host.events[i];
                const int type = m.status & 0xF0;
                if (i < onEvents && type == 0x90 && m.data2 > 0) {
                    ++ons;
                    ++sounding[m.data1];
                    identityOns += m.data1 >= kLow && m.data1 < kHigh ? 1 : 0;
                    mirroredOns += m.data1 > 127 - kHigh && m.data1 <= 127 - kLow ? 1 : 0;
                } else if (i >= onEvents && (type == 0x80 || type == 0x90)) {
                    if (sounding[m.data1] > 0) {
                        --sounding[m.data1];
                        ++released;
                    } else {
                        ++stray;
                    }
                }
            }
            if (identityOns > 0 && mirroredOns > 0)
                ++mixedBlocks;
            // A learn consumes one note-on; its note-off passes through as it came.
            const int consumed = kPlayed - ons;
            if (consumed < 0 || consumed > 1 || identityOns + mirroredOns != ons)
                ++incompleteBlocks;
            // The note-offs release exactly the notes their note-ons sounded, whatever map
            // was loaded in between.
            if (released != ons || stray != consumed)
                ++unpairedBlocks;
            blocks += 2;
        }
    });

    constexpr int kRounds = 15;
    int learned = 0;
    for (int round = 0; round < kRounds && !HasFatalFailure(); ++round) {
        SCOPED_TRACE(round);
        // A host load; the editor shows it at the next idle call.
        const Shown* state = &states[round % 2];
        ASSERT_GT(session->instance->SetChunk(state->chunk, true), 0);
        shown = state->channel;
        IdleAndCheck();
        EXPECT_TRUE(Form().btnChannel(state->channel + 1).Down());
        EXPECT_EQ(Form().lblChannel().Caption(), "Channel " + std::to_string(state->channel + 1));
        EXPECT_EQ(Form().GridFrom(), state->from);
        EXPECT_EQ(Grid().RowCount(), state->rows);
        WaitBlocks(4);

        if (round % 3 == 0) {
            // A learn whose note arrives before the host loads another state: the note
            // never lands in the loaded map.
            LearnIntoTopNoteCell();
            ASSERT_EQ(Form().LearnTarget(), TfrmEditor::TLearnTarget::Grid);
            WaitBlocks(4);
            EXPECT_EQ(Module().LearnState(), kLearnNone) << "the audio thread took the note";
            state = &states[(round + 1) % 2];
            ASSERT_GT(session->instance->SetChunk(state->chunk, true), 0);
            shown = state->channel;
            IdleAndCheck();
            IdleAndCheck();
            EXPECT_EQ(Form().LearnTarget(), TfrmEditor::TLearnTarget::None);
            EXPECT_EQ(session->instance->GetChunk(true), state->chunk)
                << "the learned note went into the loaded map";
            EXPECT_EQ(Grid().RowCount(), state->rows);
            WaitBlocks(4);
        } else {
            // A learn completed by the audio thread's next note-on of the shown channel.
            LearnIntoTopNoteCell();
            ASSERT_TRUE(
                IdleUntil([&] { return Form().LearnTarget() == TfrmEditor::TLearnTarget::None; }));
            const float note = Target(TopNote(), 0, state->channel).Note();
            EXPECT_GE(note, static_cast<float>(kLow));
            EXPECT_LT(note, static_cast<float>(kHigh));
            ++learned;
        }

        // Another channel shown, then wheel and drag on the top row's value cells.
        ShowChannel(shown == 0 ? 2 : 0);
        Wheel(CellCentre(Col(0, 4), 1), round % 2 == 0 ? 2 : -2);
        Drag(CellCentre(Col(0, 3), 1), 4, -1);
        Drag(CellCentre(Col(0, 1), 1), 3, round % 2 == 0 ? 2 : -2);
        IdleAndCheck();
        CheckHighlightsOfHeldNotes();

        if (round % 4 == 1) {
            // Channel 1 copied, pasted into channel 3.
            ShowChannel(0);
            Click(Form().btnChannelMenu());
            Choose({"Copy"});
            ShowChannel(2);
            Click(Form().btnChannelMenu());
            Choose({"Paste"});
            Answer(gui::TModalResult::Yes);
            EXPECT_EQ(Channel(2).RangeFrom(), Channel(0).RangeFrom());
            EXPECT_EQ(Channel(2).RangeTo(), Channel(0).RangeTo());
            EXPECT_EQ(Target(TopNote(), 0, 2).Note(), Target(TopNote(), 0, 0).Note());
            EXPECT_EQ(Form().GridFrom(), 0);
            IdleAndCheck();
        }
        if (round % 5 == 2) {
            session->Close();
            session->Open();
            EXPECT_TRUE(Form().btnChannel(shown + 1).Down());
        }
    }
    WaitBlocks(4);
    stop = true;
    stopProbe = true;
    audio.join();

    EXPECT_EQ(mixedBlocks.load(), 0) << "a block saw parts of two maps";
    EXPECT_EQ(unpairedBlocks.load(), 0) << "note-offs did not release their note-ons";
    EXPECT_EQ(incompleteBlocks.load(), 0) << "a block lost notes or mapped them wrongly";
    EXPECT_GT(learned, 0);
}

} // namespace
} // namespace ostinel::test
