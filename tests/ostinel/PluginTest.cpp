// The module behind the entry points: note learn, editor hosting and its idle hand-over, the
// preview, messages, preset names, settings and the start state.
#include "common/Error.h"
#include "common/QelCommon.h"
#include "engine/Random.h"
#include "ostinel/PluginFixture.h"
#include "state/MemoryStreamChunk.h"
#include "support/StateBuilder.h"

#include <fstream>

namespace ostinel::test {
namespace {

using namespace vst;

void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(PluginTest, LearnCapturesTheNextNoteOnOfTheSelectedActiveChannel) {
    module->SetLearnState(kLearnNote);
    EXPECT_TRUE(Play({{0x90, 64, 100, 0}}).empty()); // consumed
    EXPECT_EQ(module->LearnedNote(), 64);
    EXPECT_EQ(module->LearnState(), kLearnNone);
    EXPECT_TRUE(module->NeedEditIdle());
    EXPECT_EQ(Play({{0x90, 64, 100, 0}}).size(), 1u); // learning has ended
}

TEST_F(PluginTest, LearnEndsWithoutCaptureOnAnotherOrInactiveChannel) {
    struct Case {
        std::uint8_t status;
        bool activateSelected;
    };
    for (const Case c : {Case{0x93, false}, Case{0x90, false}}) {
        if (c.status == 0x90)
            module->Mapping()[0].SetActive(false);
        module->SetLearnState(kLearnNote);
        EXPECT_TRUE(Play({{c.status, 50, 100, 0}}).empty());
        EXPECT_EQ(module->LearnedNote(), -1);
        EXPECT_EQ(module->LearnState(), kLearnNone);
    }
}

TEST_F(PluginTest, EditorRectFollowsTheOpenWindow) {
    ERect* rect = nullptr;
    FakeMapEditor* editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_NE(editor->parent, nullptr);
    EXPECT_EQ(instance->Dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 600);
    EXPECT_EQ(rect->right, 950);
    instance->Dispatch(effEditClose);
    EXPECT_EQ(FakeMapEditor::last, nullptr);
    EXPECT_EQ(instance->Dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect->bottom, 600);
    EXPECT_EQ(rect->right, 950);
    instance->Dispatch(effEditClose); // a second close does nothing
}

TEST_F(PluginTest, IdleRunsOncePerRequestAndOnlyWithAnEditor) {
    instance->Dispatch(effEditIdle);
    instance->Effect()->setParameter(instance->Effect(), 0, 0.7f);
    EXPECT_TRUE(module->NeedEditIdle());
    instance->Dispatch(effEditIdle); // no editor: the request stays
    EXPECT_TRUE(module->NeedEditIdle());
    FakeMapEditor* editor = OpenEditor();
    instance->Dispatch(effEditIdle);
    EXPECT_FALSE(module->NeedEditIdle());
    EXPECT_EQ(editor->log, (std::vector<std::string>{"idle", "update"}));
    editor->log.clear();
    instance->Dispatch(effEditIdle);
    EXPECT_TRUE(editor->log.empty());
}

TEST_F(PluginTest, PlayedNotesOfTheShownChannelReachTheEditorAtIdle) {
    FakeMapEditor* editor = OpenEditor();
    instance->Dispatch(effEditIdle);
    editor->log.clear();
    Play({{0x90, 60, 100, 0}, {0x91, 61, 100, 0}, {0x80, 60, 0, 0}});
    module->SetLearnState(kLearnNote);
    Play({{0x90, 72, 100, 0}});
    instance->Dispatch(effEditIdle);
    EXPECT_EQ(editor->log,
              (std::vector<std::string>{"idle", "learn 72", "on 60", "off 60", "update"}));
    EXPECT_EQ(module->LearnedNote(), -1);
}

TEST_F(PluginTest, LearnedNoteIsDroppedAtIdleWithoutAnEditor) {
    module->SetLearnState(kLearnNote);
    Play({{0x90, 40, 100, 0}});
    EXPECT_EQ(module->LearnedNote(), 40);
    FakeMapEditor* editor = OpenEditor();
    instance->Dispatch(effEditIdle);
    EXPECT_EQ(editor->log, (std::vector<std::string>{"idle", "learn 40", "update"}));
}

TEST_F(PluginTest, WheelNoticeFocusesTheControlUnderTheCursor) {
    EXPECT_EQ(instance->Dispatch(effVendorSpecific, 0, 0x57686565), 0); // no editor
    FakeMapEditor* editor = OpenEditor();
    EXPECT_EQ(instance->Dispatch(effVendorSpecific, 0, 0x12345678), 0);
    EXPECT_TRUE(editor->log.empty());
    EXPECT_EQ(instance->Dispatch(effVendorSpecific, 0, 0x57686565), 0);
    EXPECT_EQ(editor->log, std::vector<std::string>{"focus"});
}

TEST_F(PluginTest, PresetNameChangesReachTheEditorOnce) {
    FakeMapEditor* editor = OpenEditor();
    module->SetPresetName("");
    EXPECT_TRUE(editor->log.empty());
    module->SetPresetName("Bass");
    module->SetPresetName("Bass");
    EXPECT_EQ(editor->log, std::vector<std::string>{"preset"});
}

TEST_F(PluginTest, LoadErrorsWaitForTheEditorWhenNoneIsOpen) {
    EXPECT_GT(instance->SetChunk(WrapPayload({'T', 'P', 'F', '0', 0x07}), true), 0);
    const auto pending = module->TakePendingMessage();
    ASSERT_TRUE(pending.has_value());
    EXPECT_EQ(pending->Caption, "Load Preset");
    EXPECT_EQ(pending->Text, "Error loading preset.\r\n\r\n\"Invalid property value\"");
    EXPECT_FALSE(module->TakePendingMessage().has_value());

    FakeMapEditor* editor = OpenEditor();
    instance->SetChunk(WrapPayload({'T', 'P', 'F', '1'}), true);
    ASSERT_EQ(editor->messages.size(), 1u);
    EXPECT_EQ(editor->messages[0].Text, "Error loading preset.\r\n\r\n\"Invalid stream format\"");
}

TEST_F(PluginTest, PreviewPlaysNowAndReleasesAQuarterSecondOfAudioLater) {
    TChannelOstinItem& row = module->Mapping()[0].Notes[60];
    row.Targets[0].SetVelocityScale(-50);
    row.Targets[1].SetNote(67);
    row.Targets[1].SetVelocityScale(-50);
    row.Targets[1].SetProbability(0);      // the preview ignores probability
    module->Mapping()[0].SetActive(false); // and the active flag
    ASSERT_TRUE(module->PreviewNote(0, 60, 100));
    host.Clear();
    instance->Process(4096);
    EXPECT_EQ(host.events, (std::vector<MidiOut>{{0x90, 60, 50, 0}, {0x90, 67, 25, 0}}));
    host.Clear();
    instance->Process(4096); // 8192 samples: not yet a quarter second at 44.1 kHz
    instance->Process(4096);
    EXPECT_TRUE(host.events.empty());
    instance->Process(4096); // 11025 samples after the note-ons went out
    EXPECT_EQ(host.events, (std::vector<MidiOut>{{0x80, 60, 50, 0}, {0x80, 67, 25, 0}}));
    EXPECT_EQ(module->SoundingNotes().Count(), 0);
}

TEST_F(PluginTest, PreviewOfASilentRowSendsNothing) {
    for (int t = 0; t < 3; ++t)
        module->Mapping()[0].Notes[5].Targets[t].SetNote(-1);
    EXPECT_TRUE(module->PreviewNote(0, 5, 100));
    host.Clear();
    for (int i = 0; i < 8; ++i)
        instance->Process(4096);
    EXPECT_TRUE(host.events.empty());
    EXPECT_THROW(module->PreviewNote(16, 5, 100), ostinel::Error);
}

TEST_F(PluginTest, NotifyHostOfChangeReportsTheUnchangedParameter) {
    host.Clear();
    module->NotifyHostOfChange();
    ASSERT_EQ(host.CountRequests(audioMasterAutomate), 1);
    EXPECT_EQ(host.requests[0].index, 0);
    EXPECT_EQ(host.requests[0].opt, 0.0f);
}

TEST_F(PluginTest, ResetStateClearsNameAssignmentsAndMap) {
    StateSpec spec;
    spec.ccs = {{"Cutoff", 74}};
    auto map = DefaultMap();
    (*map)[0].SetActive(false);
    instance->SetChunk(MakeChunk(*map, spec), true);
    module->SetPresetName("Something");
    EXPECT_EQ(module->MidiCCs().Count(), 1);
    module->ResetState();
    EXPECT_EQ(module->PresetName(), "");
    EXPECT_EQ(module->MidiCCs().Count(), 0);
    EXPECT_TRUE(module->Mapping()[0].Active());
}

TEST_F(PluginTest, SelectedChannelFromAStateIsKeptToARealChannel) {
    auto map = DefaultMap();
    map->SetSelectedChannel(99);
    instance->SetChunk(MakeChunk(*map), true);
    EXPECT_EQ(module->Mapping().SelectedChannel(), 15);
    map->SetSelectedChannel(-4);
    instance->SetChunk(MakeChunk(*map), true);
    EXPECT_EQ(module->Mapping().SelectedChannel(), 0);
}

TEST_F(PluginTest, PresetNameStaysWhileItsFileExists) {
    OSTINEL_SKIP_WITHOUT_XDG_FOLDERS();
    StateSpec spec;
    spec.presetName = "Kit Swap";
    WriteFileBytes(Documents() / "Quorvat" / "Ostinel" / "Presets" / "Kit Swap.quorvatp", {1});
    instance->SetChunk(MakeChunk(*DefaultMap(), spec), true);
    EXPECT_EQ(module->PresetName(), "Kit Swap");
}

TEST_F(PluginTest, AssignedControllerOfAnExistingParameterIsApplied) {
    module->ParameterValues().Add({0.0f, "ostx", 0.0f});
    StateSpec spec;
    spec.ccs = {{"ostx", 20}, {"Cutoff", 74}};
    instance->SetChunk(MakeChunk(*DefaultMap(), spec), true);
    host.Clear();
    Play({{0xB0, 20, 127, 0}, {0xB0, 74, 1, 0}});
    ASSERT_EQ(host.CountRequests(audioMasterAutomate), 1);
    EXPECT_EQ(host.requests[0].opt, 1.0f); // controller value 127 reported as 1.0
    EXPECT_EQ(host.events.size(), 2u);     // both control changes still pass
}

class SettingsTest : public PluginTest {};

TEST_F(SettingsTest, DefaultsWithoutStoredValuesAndNoWritesUntilAChange) {
    OSTINEL_SKIP_WITHOUT_XDG_FOLDERS();
    EXPECT_EQ(module->Style(), 0);
    EXPECT_EQ(module->LowestOctave(), -2);
    EXPECT_EQ(OctaveOffset(), -2);
    module->SetLowestOctave(-2);
    module->SetStyle(0);
    EXPECT_EQ(ReadText(ConfigFile()), "");
    module->SetStyle(3);
    const std::string text = ReadText(ConfigFile());
    EXPECT_NE(text.find("Style=3"), std::string::npos);
    EXPECT_NE(text.find("LowestOctave=-2"), std::string::npos);
}

TEST_F(SettingsTest, StoredValuesAreReadAndTheOctaveClamped) {
    OSTINEL_SKIP_WITHOUT_XDG_FOLDERS();
    struct Case {
        const char* octave;
        const char* style;
        int expectedOctave;
        int expectedStyle;
    };
    const Case cases[] = {
        {"5", "9", 0, 9}, {"-7", "2", -2, 2}, {"abc", "x", -2, 0}, {"-1", "4", -1, 4}};
    for (const Case& c : cases) {
        std::filesystem::create_directories(ConfigFile().parent_path());
        std::ofstream(ConfigFile()) << "Style=" << c.style << "\nLowestOctave=" << c.octave << "\n";
        Instance other;
        auto* plugin = dynamic_cast<TVSTPlugin*>(TBasicVSTModule::FromEffect(other.Effect()));
        EXPECT_EQ(plugin->LowestOctave(), c.expectedOctave) << c.octave;
        EXPECT_EQ(plugin->Style(), c.expectedStyle) << c.style;
        EXPECT_EQ(OctaveOffset(), c.expectedOctave);
    }
}

TEST_F(SettingsTest, LowestOctaveIsSharedByEveryInstanceOfTheProcess) {
    Instance other;
    auto* second = dynamic_cast<TVSTPlugin*>(TBasicVSTModule::FromEffect(other.Effect()));
    // Values that differ from what each instance holds (stored settings may survive a test where
    // the store is the registry), so that every call really changes the setting.
    auto pick = [](int avoid1, int avoid2) {
        for (int v : {0, -1, -2})
            if (v != avoid1 && v != avoid2)
                return v;
        return 0;
    };
    const int a = pick(second->LowestOctave(), second->LowestOctave());
    second->SetLowestOctave(a);
    EXPECT_EQ(NoteOctave(60), 5 + a);
    const int b = pick(module->LowestOctave(), a);
    module->SetLowestOctave(b);
    EXPECT_EQ(NoteOctave(60), 5 + b);
    EXPECT_EQ(NoteOctave(0), b);
}

TEST_F(PluginTest, EveryNewInstanceReseedsTheSharedGenerator) {
    RandomSeed(777);
    Instance other; // seeded from the clock while it is constructed
    EXPECT_NE(RandomState(), 777u);
}

class InitPresetTest : public PluginTest {
protected:
    static std::filesystem::path InitFile() {
        return Documents() / "Quorvat" / "Ostinel" / "Presets" / "init.quorvatp";
    }
};

TEST_F(InitPresetTest, NewInstancesStartFromTheInitPreset) {
    OSTINEL_SKIP_WITHOUT_XDG_FOLDERS();
    auto map = DefaultMap();
    (*map)[0].Notes[60].Targets[0].SetNote(48);
    StateSpec spec;
    spec.presetName = "init";
    WriteFileBytes(InitFile(), MakeChunk(*map, spec));
    Instance other;
    auto* plugin = dynamic_cast<TVSTPlugin*>(TBasicVSTModule::FromEffect(other.Effect()));
    EXPECT_EQ(plugin->PresetName(), "");
    EXPECT_EQ(plugin->Mapping()[0].Notes[60].Targets[0].Note(), 48);
}

TEST_F(InitPresetTest, AnUnreadableInitPresetLeavesTheResetState) {
    OSTINEL_SKIP_WITHOUT_XDG_FOLDERS();
    for (const std::vector<std::uint8_t>& bytes :
         {std::vector<std::uint8_t>{'n', 'o', 'p', 'e', 1, 0, 0, 0, 0},
          WrapPayload({'T', 'P', 'F', '0', 0x01, 0x07})}) {
        WriteFileBytes(InitFile(), bytes);
        Instance other;
        auto* plugin = dynamic_cast<TVSTPlugin*>(TBasicVSTModule::FromEffect(other.Effect()));
        auto fresh = DefaultMap();
        EXPECT_TRUE(plugin->Mapping().Equals(*fresh));
        EXPECT_TRUE(plugin->TakePendingMessage().has_value());
    }
}

} // namespace
} // namespace ostinel::test
