// Programs, the parameter, and the state chunk through the ABI.
#include "support/FakeHost.h"
#include "support/PluginInstance.h"
#include "support/StateBuilder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ostinel::test {
namespace {

using namespace vst;
using Bytes = std::vector<std::uint8_t>;

class Chunks : public ::testing::Test {
protected:
    FakeHost host;
    Instance plugin;

    std::vector<MidiOut> Play(std::uint8_t status, std::uint8_t d1, std::uint8_t d2) {
        EventList events;
        events.Add(status, d1, d2);
        host.Clear();
        plugin.Block(events);
        return host.events;
    }
};

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST_F(Chunks, DefaultStateIsByteExact) {
    const Bytes chunk = plugin.GetChunk(true);
    ASSERT_EQ(chunk.size(), 379389u);
    const Bytes header = {'m', 'm', 's', 't', 0xF5, 0xC9, 0x05, 0x00};
    EXPECT_TRUE(std::equal(header.begin(), header.end(), chunk.begin()));
    const Bytes zero10(10, 0);
    const Bytes begin = Concat({
        {'T', 'P', 'F', '0', 0x01, 0x06, 0x04, '1', '.', '0', '0'},
        {0x12, 0, 0, 0, 0, 0x12, 0, 0, 0, 0, 0x12, 0, 0, 0, 0, 0x00},
        {0x01, 0x01, 0x02, 0x00, 0x00, 0x01},
        {0x01, 0x01, 0x09, 0x05},
        zero10,
        {0x05, 0, 0, 0, 0, 0, 0, 0, 0xFE, 0x05, 0x40, 0x00, 0x01},
        {0x01, 0x01, 0x02, 0x00, 0x00, 0x01},
    });
    ASSERT_GE(chunk.size(), 8 + begin.size());
    EXPECT_TRUE(std::equal(begin.begin(), begin.end(), chunk.begin() + 8));
    // Ends with the empty assignment section.
    EXPECT_EQ(chunk[chunk.size() - 2], 0x01);
    EXPECT_EQ(chunk[chunk.size() - 1], 0x00);
    // The first target of row 0: channel 1.0, note 0.0, probability 100.0, scale 0, random 0.
    const Bytes target = Concat({{0x01, 0x01, 0x05, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F, 0x05},
                                 zero10,
                                 {0x05, 0, 0, 0, 0, 0, 0, 0, 0xC8, 0x05, 0x40, 0x05},
                                 zero10,
                                 {0x05},
                                 zero10,
                                 {0x00, 0x00}});
    ASSERT_EQ(target.size(), 59u);
    const std::size_t firstTarget = 8 + begin.size(); // right after the target list's begin
    EXPECT_TRUE(
        std::equal(target.begin(), target.end(), chunk.begin() + static_cast<long>(firstTarget)));
}

TEST_F(Chunks, BankChunkIsLengthThenPresetChunk) {
    const Bytes preset = plugin.GetChunk(true);
    const Bytes bank = plugin.GetChunk(false);
    ASSERT_EQ(bank.size(), preset.size() + 4);
    const std::uint32_t n =
        bank[0] | bank[1] << 8 | bank[2] << 16 | static_cast<std::uint32_t>(bank[3]) << 24;
    EXPECT_EQ(n, preset.size());
    EXPECT_TRUE(std::equal(preset.begin(), preset.end(), bank.begin() + 4));
}

TEST_F(Chunks, StateRoundTripsThroughTheHost) {
    auto map = DefaultMap();
    (*map)[0].SetRangeFrom(10.5f);
    (*map)[5].SetActive(true);
    (*map)[5].Notes[7].Targets[2].SetNote(99);
    (*map)[5].Notes[7].Targets[2].SetRandom(33.25f);
    map->SetSelectedChannel(5);
    StateSpec spec;
    spec.ccs = {{"Cutoff", 74}, {"Resonance", 71}};
    const Bytes state = MakeChunk(*map, spec);
    EXPECT_EQ(plugin.SetChunk(state, true), static_cast<VstIntPtr>(state.size()));
    EXPECT_EQ(plugin.GetChunk(true), state);
    // Another instance takes the same bytes through the bank path.
    Instance other;
    const Bytes bank = plugin.GetChunk(false);
    EXPECT_EQ(other.SetChunk(bank, false), static_cast<VstIntPtr>(bank.size()));
    EXPECT_EQ(other.GetChunk(true), state);
}

TEST_F(Chunks, PresetNameSurvivesOnlyWithItsFile) {
    StateSpec spec;
    spec.presetName = "No Such Preset";
    const Bytes state = MakeChunk(*DefaultMap(), spec);
    plugin.SetChunk(state, true);
    StateSpec empty;
    EXPECT_EQ(plugin.GetChunk(true), MakeChunk(*DefaultMap(), empty));
}

TEST_F(Chunks, SmallOrForeignDataKeepsTheState) {
    auto map = DefaultMap();
    (*map)[0].SetActive(false);
    plugin.SetChunk(MakeChunk(*map), true);
    const Bytes loaded = plugin.GetChunk(true);
    const Bytes cases[] = {
        {},
        {'m', 'm', 's', 't', 1, 0, 0, 0},       // exactly 8 bytes: ignored
        {'x', 'x', 's', 't', 4, 0, 0, 0, 1, 2}, // wrong id
        {'m', 'm', 's', 't', 200, 0, 0, 0, 1},  // size past the data
    };
    for (const Bytes& bytes : cases) {
        const VstIntPtr given = static_cast<VstIntPtr>(bytes.size());
        EXPECT_EQ(plugin.SetChunk(bytes, true), bytes.empty() ? 0 : given);
        EXPECT_EQ(plugin.GetChunk(true), loaded);
    }
    EXPECT_EQ(plugin.Dispatch(effSetChunk, 1, 10, nullptr), 0);
    EXPECT_EQ(plugin.Dispatch(effGetChunk, 1, 0, nullptr), 0);
}

TEST_F(Chunks, ParseErrorsKeepWhatWasReadOnTopOfTheReset) {
    auto map = DefaultMap();
    (*map)[2].SetActive(true);
    (*map)[2].Notes[1].Targets[0].SetNote(5);
    Bytes state = MakeChunk(*map);
    // Cut the stream right after the plug-in section (drop the assignment section "01 00").
    Bytes truncated(state.begin(), state.end() - 2);
    const std::uint32_t n = static_cast<std::uint32_t>(truncated.size() - 8);
    std::memcpy(truncated.data() + 4, &n, 4); // little-endian host
    EXPECT_EQ(plugin.SetChunk(truncated, true), static_cast<VstIntPtr>(truncated.size()));
    EXPECT_EQ(Play(0x92, 1, 100), (std::vector<MidiOut>{{0x92, 5, 100, 0}}));

    // A garbage payload: only the reset state remains.
    EXPECT_GT(plugin.SetChunk(WrapPayload({'T', 'P', 'F', '0', 0x07}), true), 0);
    EXPECT_EQ(Play(0x92, 1, 100), (std::vector<MidiOut>{{0x92, 1, 100, 0}}));
}

TEST_F(Chunks, SurplusItemsFailAtTheSurplusAndEarlierItemsStay) {
    // 17 channels: append a copy of channel entry 16 before the channel list's end.
    auto map = DefaultMap();
    (*map)[15].SetActive(true);
    (*map)[15].Notes[0].Targets[0].SetNote(9);
    Bytes state = MakeChunk(*map);
    const std::size_t channelSize = 23709;
    const std::size_t listEnd = state.size() - 2 - 1 - 1; // CC section, plug-in end, list end
    ASSERT_EQ(state[listEnd], 0x00);
    Bytes extra(state.begin() + static_cast<long>(listEnd - channelSize),
                state.begin() + static_cast<long>(listEnd));
    state.insert(state.begin() + static_cast<long>(listEnd), extra.begin(), extra.end());
    const std::uint32_t n = static_cast<std::uint32_t>(state.size() - 8);
    std::memcpy(state.data() + 4, &n, 4);
    plugin.SetChunk(state, true);
    EXPECT_EQ(Play(0x9F, 0, 100), (std::vector<MidiOut>{{0x9F, 9, 100, 0}}));
}

TEST_F(Chunks, TargetValuesAreClampedAndLenientTagsAccepted) {
    // A stream written by hand: one channel, one row, one target with a channel of 40 stored
    // as a double, a note stored as an integer.
    const Bytes payload = Concat({
        {'T', 'P', 'F', '0', 0x01, 0x06, 0x04, '1', '.', '0', '0', 0x06, 0x00, 0x06, 0x00, 0x06,
         0x00, 0x00},
        {0x01, 0x01, 0x02, 0x00, 0x00, 0x01},             // selected channel 0
        {0x01, 0x01, 0x09, 0x02, 0x00, 0x02, 0x7F, 0x00}, // active, range 0..127 as integers
        {0x01, 0x01, 0x01, 0x02, 0x00, 0x00, 0x01},       // row 0
        {0x01, 0x01, 0x15, 0, 0, 0, 0, 0, 0, 0x44, 0x40}, // channel 40.0 as a double
        {0x03, 0x2C, 0x01},                               // note 300 as a 2-byte integer
        {0x02, 0x64, 0x02, 0x00, 0x02, 0x00, 0x00, 0x00}, // probability, scale, random
        {0x00, 0x00, 0x00, 0x00},                         // target list, row, rows, channel
        {0x00, 0x00},                                     // channel list, plug-in section
        {0x00},                                           // empty assignment section
    });
    EXPECT_GT(plugin.SetChunk(WrapPayload(payload), true), 0);
    // Channel clamped to 16, note to 127.
    EXPECT_EQ(Play(0x90, 0, 100), (std::vector<MidiOut>{{0x9F, 127, 100, 0}}));
}

TEST_F(Chunks, CCAssignmentsRoundTripAndDoNotDisturbControlChanges) {
    StateSpec spec;
    spec.ccs = {{"Cutoff", 74}};
    const Bytes state = MakeChunk(*DefaultMap(), spec);
    plugin.SetChunk(state, true);
    EXPECT_EQ(plugin.GetChunk(true), state);
    // The assigned parameter does not exist: the control change still passes.
    EXPECT_EQ(Play(0xB0, 74, 64), (std::vector<MidiOut>{{0xB0, 74, 64, 0}}));
}

TEST_F(Chunks, BankWithCountsPastTheDataLoadsNothing) {
    auto map = DefaultMap();
    (*map)[0].SetActive(false);
    plugin.SetChunk(MakeChunk(*map), true);
    const Bytes before = plugin.GetChunk(true);
    Bytes bank = {0xFF, 0xFF, 0xFF, 0x7F, 'm', 'm', 's', 't'};
    EXPECT_EQ(plugin.SetChunk(bank, false), 8);
    EXPECT_EQ(plugin.GetChunk(true), before);
    bank = {0x02, 0x00};
    EXPECT_EQ(plugin.SetChunk(bank, false), 2);
    EXPECT_EQ(plugin.GetChunk(true), before);
}

TEST_F(Chunks, ProgramNames) {
    EXPECT_EQ(plugin.Text(effGetProgramNameIndexed, 0, kVstMaxProgNameLen), "Default");
    char name[64] = {};
    EXPECT_EQ(plugin.Dispatch(effGetProgramNameIndexed, 0, 0, name), 1);
    EXPECT_EQ(plugin.Dispatch(effGetProgramNameIndexed, 1, 0, name), 0);
    EXPECT_EQ(plugin.Dispatch(effGetProgramNameIndexed, -1, 0, name), 0);
    EXPECT_EQ(plugin.Text(effGetProgramName, 0, kVstMaxProgNameLen), "Default");

    char longName[80];
    std::memset(longName, 'x', sizeof longName);
    longName[60] = '\0';
    plugin.Dispatch(effSetProgramName, 0, 0, longName);
    // 50 characters are kept; the host's 24-byte buffer receives what fits.
    EXPECT_EQ(plugin.Text(effGetProgramName, 0, kVstMaxProgNameLen), std::string(23, 'x'));

    host.Clear();
    for (VstIntPtr program : {0, 5, -1})
        EXPECT_EQ(plugin.Dispatch(effSetProgram, 0, program), 0);
    EXPECT_EQ(plugin.Dispatch(effGetProgram), 0);
    EXPECT_TRUE(host.requests.empty());
}

TEST_F(Chunks, ParameterTextsAndValues) {
    EXPECT_EQ(plugin.Text(effGetParamName, 0, kVstMaxParamStrLen), "ostx");
    EXPECT_EQ(plugin.Text(effGetParamLabel, 0, kVstMaxParamStrLen), "");
    EXPECT_EQ(plugin.Text(effGetParamDisplay, 0, kVstMaxParamStrLen), "0");
    EXPECT_EQ(plugin.Text(effGetParamName, 3, kVstMaxParamStrLen), "undefin"); // cut to fit
    EXPECT_EQ(plugin.Effect()->getParameter(plugin.Effect(), 0), 0.0f);
    EXPECT_EQ(plugin.Effect()->getParameter(plugin.Effect(), 1), 0.0f);
    plugin.Effect()->setParameter(plugin.Effect(), 0, 0.7f);
    EXPECT_EQ(plugin.Effect()->getParameter(plugin.Effect(), 0), 0.0f);
    EXPECT_EQ(plugin.Dispatch(effCanBeAutomated, 0), 1);
    EXPECT_EQ(plugin.Dispatch(effCanBeAutomated, 7), 1);
}

TEST_F(Chunks, String2ParameterReportsTheUnchangedValue) {
    host.Clear();
    char text[] = "0.5";
    EXPECT_EQ(plugin.Dispatch(effString2Parameter, 0, 0, text), 0);
    ASSERT_EQ(host.CountRequests(audioMasterAutomate), 1);
    EXPECT_EQ(host.requests.back().index, 0);
    EXPECT_EQ(host.requests.back().opt, 0.0f);
    EXPECT_EQ(plugin.Dispatch(effString2Parameter, 0, 0, nullptr), 0);
    EXPECT_EQ(plugin.Dispatch(effString2Parameter, 4, 0, text), 0); // error stays inside
}

} // namespace
} // namespace ostinel::test
