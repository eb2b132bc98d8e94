// The entry point, the effect record, the dispatcher's fixed answers, canDo and pins.
#include "support/FakeHost.h"
#include "support/PluginInstance.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ostinel::test {
namespace {

using namespace vst;

TEST(Entry, EffectRecordIsFilledAsDeclared) {
    FakeHost host;
    Instance plugin(false);
    const AEffect& e = *plugin.Effect();
    EXPECT_EQ(e.magic, kEffectMagic);
    EXPECT_EQ(e.numPrograms, 1);
    EXPECT_EQ(e.numParams, 1);
    EXPECT_EQ(e.numInputs, 0);
    EXPECT_EQ(e.numOutputs, 2);
    EXPECT_EQ(e.flags, 0x131);
    EXPECT_EQ(e.uniqueID, 0x71763037); // "qv07"
    EXPECT_EQ(e.version, 1000);
    EXPECT_EQ(e.ioRatio, 1.0f);
    EXPECT_EQ(e.initialDelay, 0);
    EXPECT_EQ(e.object, nullptr);
    EXPECT_NE(e.user, nullptr);
    for (char c : e.future)
        EXPECT_EQ(c, 0);
    EXPECT_EQ(host.CountRequests(audioMasterVersion), 1);
}

TEST(Entry, MainAndVSTPluginMainAreTheSameFunction) {
    FakeHost host;
    ASSERT_NE(Entries().main, nullptr);
    Instance a(true, Entries().vstPluginMain);
    Instance b(true, Entries().main);
    EXPECT_EQ(a.Effect()->uniqueID, b.Effect()->uniqueID);
    EXPECT_EQ(a.Effect()->flags, b.Effect()->flags);
    EXPECT_NE(a.Effect(), b.Effect());
    EXPECT_EQ(a.Dispatch(effGetVendorVersion), b.Dispatch(effGetVendorVersion));
}

TEST(Entry, HostFailingTheVersionProbeGetsNull) {
    FakeHost host;
    host.version = 0;
    EXPECT_EQ(Entries().vstPluginMain(&FakeHost::Callback), nullptr);
    EXPECT_EQ(Entries().vstPluginMain(nullptr), nullptr);
}

TEST(Entry, ObjectFieldModeFollowsTheHostName) {
    struct Case {
        const char* product;
        bool objectField;
    };
    const Case cases[] = {
        {"energyXT", true}, {"Sound Forge Pro 10.0", true}, {"Forge", true},
        {"XT", true},       {"energyXT2", false},           {"Sound Forge Pro 11.0", false},
        {"", false},        {"Ostinel Test Host", false},   {"energyxt", false},
    };
    for (const Case& c : cases) {
        FakeHost host;
        host.productString = c.product;
        Instance plugin;
        SCOPED_TRACE(c.product);
        if (c.objectField) {
            EXPECT_EQ(plugin.Effect()->user, nullptr);
            EXPECT_NE(plugin.Effect()->object, nullptr);
        } else {
            EXPECT_NE(plugin.Effect()->user, nullptr);
            EXPECT_EQ(plugin.Effect()->object, nullptr);
        }
        // Either way the module answers and processing reaches it.
        EXPECT_EQ(plugin.Dispatch(effGetVstVersion), 2400);
        EventList events;
        events.Add(0x90, 60, 100);
        plugin.Block(events);
        ASSERT_EQ(host.events.size(), 1u);
        EXPECT_EQ(host.events[0], (MidiOut{0x90, 60, 100, 0}));
    }
}

TEST(Entry, ModuleIsFoundEvenWhenTheHostOverwritesTheUserField) {
    FakeHost host;
    Instance plugin;
    plugin.Effect()->user = nullptr;
    EXPECT_EQ(plugin.Dispatch(effGetVstVersion), 2400);
    EventList events;
    events.Add(0x90, 64, 90);
    plugin.Block(events);
    EXPECT_EQ(host.events.size(), 1u);
}

TEST(Dispatcher, FixedAnswers) {
    FakeHost host;
    Instance plugin;
    struct Case {
        VstInt32 opcode;
        VstIntPtr value;
        VstIntPtr expected;
    };
    const Case cases[] = {
        {effIdentify, 0, 0x4E764566},
        {effGetVstVersion, 0, 2400},
        {effGetVendorVersion, 0, 1000},
        {effGetPlugCategory, 0, 2},
        {effGetNumProgramCategories, 0, 1},
        {effGetProgram, 0, 0},
        {effGetTailSize, 0, 0},
        {effKeysRequired, 0, 1},
        {effGetCurrentMidiProgram, 0, -1},
        {effConnectInput, 0, 1},
        {effConnectOutput, 0, 1},
        {effSetTotalSampleToProcess, 4321, 4321},
        {effSetProcessPrecision, 1, 0},
        {effSetSampleRate, 0, 1},
        {effSetBlockSize, 512, 0},
        {effSetBlockSizeAndSampleRate, 256, 1},
        {effGetParameterProperties, 0, 0},
        {effGetInputProperties, 0, 0},
        {effEditKeyDown, 'a', -1},
        {effEditKeyUp, 27, -1},
        {effEditTop, 0, 0},
        {effGetVu, 0, 0},
        {effSetBypass, 1, 0},
        {effStartProcess, 0, 0},
        {effGetNumMidiInputChannels, 0, 0},
        {80, 0, 0},
        {1000, 0, 0},
        {-1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opcode);
        EXPECT_EQ(plugin.Dispatch(c.opcode, 0, c.value, nullptr, 48000.0f), c.expected);
    }
}

TEST(Dispatcher, NullEffectAnswersZero) {
    FakeHost host;
    Instance plugin;
    EXPECT_EQ(plugin.Effect()->dispatcher(nullptr, effGetVstVersion, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(plugin.Effect()->getParameter(nullptr, 0), 0.0f);
    plugin.Effect()->setParameter(nullptr, 0, 0.5f);
}

TEST(Dispatcher, NamesAreCopiedWithinTheirBuffers) {
    FakeHost host;
    Instance plugin;
    EXPECT_EQ(plugin.Text(effGetEffectName, 0, kVstMaxEffectNameLen), "Ostinel");
    EXPECT_EQ(plugin.Text(effGetVendorString, 0, kVstMaxVendorStrLen), "Quorvat");
    EXPECT_EQ(plugin.Text(effGetProductString, 0, kVstMaxProductStrLen), "Ostinel");
    EXPECT_EQ(plugin.Dispatch(effGetEffectName), 0);
    EXPECT_EQ(plugin.Dispatch(effGetVendorString), 0);
    EXPECT_EQ(plugin.Dispatch(effGetProductString), 0);
}

TEST(Dispatcher, CanDoAnswers) {
    FakeHost host;
    Instance plugin;
    struct Case {
        const char* text;
        VstIntPtr answer;
    };
    const Case cases[] = {
        {"sendVstEvents", 1},
        {"sendVstMidiEvent", 1},
        {"receiveVstMidiEvent", 1},
        {"2in2out", 1},
        {"receiveVstEvents", -1},
        {"sendVstTimeInfo", -1},
        {"receiveVstTimeInfo", -1},
        {"offline", -1},
        {"plugAsChannelInsert", -1},
        {"plugAsSend", -1},
        {"mixDryWet", -1},
        {"noRealTime", -1},
        {"multipass", -1},
        {"metapass", -1},
        {"1in1out", -1},
        {"1in2out", -1},
        {"2in1out", -1},
        {"2in4out", -1},
        {"4in2out", -1},
        {"4in4out", -1},
        {"4in8out", -1},
        {"8in4out", -1},
        {"8in8out", -1},
        {"midiProgramNames", -1},
        {"LiveWithoutToolbar", -1},
        {"conformsToWindowRules", -1},
        {"bypass", -1},
        {"ChainPluginAPI", -1},
        {"hasCockosExtensions", 0},
        {"SendVstEvents", 0},
        {"", 0},
        {"anything", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        char text[64];
        std::strcpy(text, c.text);
        EXPECT_EQ(plugin.Dispatch(effCanDo, 0, 0, text), c.answer);
    }
    EXPECT_EQ(plugin.Dispatch(effCanDo, 0, 0, nullptr), 0);
}

TEST(Dispatcher, OutputPinProperties) {
    FakeHost host;
    Instance plugin;
    for (int index = 0; index < 2; ++index) {
        VstPinProperties pin{};
        pin.arrangementType = 77;
        ASSERT_EQ(plugin.Dispatch(effGetOutputProperties, index, 0, &pin), 1);
        EXPECT_STREQ(pin.label, index == 0 ? "Output #1" : "Output #2");
        EXPECT_STREQ(pin.shortLabel, index == 0 ? "Out1" : "Out2");
        EXPECT_EQ(pin.arrangementType, 1);
        EXPECT_EQ(pin.flags, 3);
    }
    VstPinProperties untouched{};
    std::memset(&untouched, 0x55, sizeof untouched);
    VstPinProperties pin = untouched;
    EXPECT_EQ(plugin.Dispatch(effGetOutputProperties, 2, 0, &pin), 0);
    EXPECT_EQ(std::memcmp(&pin, &untouched, sizeof pin), 0);
    EXPECT_EQ(plugin.Dispatch(effGetOutputProperties, -1, 0, &pin), 0);
    for (int index = -1; index < 3; ++index)
        EXPECT_EQ(plugin.Dispatch(effGetInputProperties, index, 0, &pin), 0);
}

TEST(Dispatcher, MainsChangedRequestsMidiOnlyWhenSwitchedOn) {
    FakeHost host;
    Instance plugin;
    host.Clear();
    EXPECT_EQ(plugin.Dispatch(effMainsChanged, 0, 0), 0);
    EXPECT_EQ(host.CountRequests(audioMasterWantMidi), 0);
    EXPECT_EQ(plugin.Dispatch(effMainsChanged, 0, 1), 0);
    ASSERT_EQ(host.CountRequests(audioMasterWantMidi), 1);
    EXPECT_EQ(host.requests.back().value, 1);
}

TEST(Dispatcher, BeginLoadComparesTheUniqueID) {
    FakeHost host;
    Instance plugin;
    VstPatchChunkInfo info{};
    info.pluginUniqueID = 0x71763037;
    for (VstInt32 opcode : {effBeginLoadBank, effBeginLoadProgram}) {
        info.pluginUniqueID = 0x71763037;
        EXPECT_EQ(plugin.Dispatch(opcode, 0, 0, &info), 1);
        info.pluginUniqueID = 0x12345678;
        EXPECT_EQ(plugin.Dispatch(opcode, 0, 0, &info), -1);
        EXPECT_EQ(plugin.Dispatch(opcode, 0, 0, nullptr), 0);
    }
}

TEST(Dispatcher, SpeakerArrangementNeedsBothPointers) {
    FakeHost host;
    Instance plugin;
    int dummy = 0;
    EXPECT_EQ(
        plugin.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&dummy), &dummy),
        1);
    EXPECT_EQ(plugin.Dispatch(effSetSpeakerArrangement, 0, 0, &dummy), 0);
}

TEST(Dispatcher, EditorRectBeforeAnyEditorIsEmpty) {
    FakeHost host;
    Instance plugin;
    ERect* rect = nullptr;
    EXPECT_EQ(plugin.Dispatch(effEditGetRect, 0, 0, &rect), 0);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 0);
    EXPECT_EQ(rect->right, 0);
    EXPECT_EQ(plugin.Dispatch(effEditGetRect, 0, 0, nullptr), 0);
    EXPECT_EQ(plugin.Dispatch(effEditOpen, 0, 0, nullptr), 0);
    EXPECT_EQ(plugin.Dispatch(effEditClose), 0);
    EXPECT_EQ(plugin.Dispatch(effEditClose), 0);
    EXPECT_EQ(plugin.Dispatch(effEditIdle), 0);
}

TEST(Dispatcher, CloseAnswersOne) {
    FakeHost host;
    Instance plugin;
    EXPECT_EQ(plugin.Close(), 1);
}

} // namespace
} // namespace ostinel::test
