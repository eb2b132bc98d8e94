#include "ostinel/VSTPlugin.h"

#include "common/Error.h"
#include "common/QelCommon.h"
#include "engine/MapStream.h"
#include "engine/Random.h"
#include "gui/skins/Skin.h"
#include "ostinel/EditorWindow.h"
#include "ostinel/MapEditor.h"
#include "ostinel/VendorRequests.h"
#include "platform/System.h"

#include <algorithm>
#include <array>

namespace ostinel {

using namespace vst;

TVSTModuleConfig OstinelConfig() {
    TVSTModuleConfig c;
    c.EffectName = "Ostinel";
    c.ProductName = "Ostinel";
    c.VendorName = "Quorvat";
    c.Version = "1.0";
    c.VersionMajor = 1;
    c.VersionMinor = 0;
    c.VersionRelease = 0;
    c.UniqueID = "qv07";
    c.Flags = effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks | effFlagsIsSynth;
    c.PlugCategory = TVstPluginCategory::vpcSynth;
    c.CanDos = {TVstCanDo::vcdSendVstEvents, TVstCanDo::vcdSendVstMidiEvent,
                TVstCanDo::vcdReceiveVstMidiEvent, TVstCanDo::vcd2in2out};
    c.NumInputs = 0;
    c.NumOutputs = 2;
    c.Programs = {"Default"};
    TVSTParameterConfig parameter;
    parameter.DisplayName = "ostx";
    parameter.ShortLabel = "ostin";
    c.Parameters = {parameter};
    return c;
}

TVSTPlugin::TVSTPlugin() : TVSTPluginBase(OstinelConfig()) {
    // Every new instance reseeds the generator shared by the whole process.
    RandomSeed(platform::HighResolutionCounterLow32());
}

TVSTPlugin::~TVSTPlugin() {
    ReleaseEditor();
}

void TVSTPlugin::VSTModuleCreate() {
    SetPluginVersion("1.00");
    SetUserGuideFile("Ostinel User Guide.pdf");
    learnedNote_.Clear();
    SetEditorFormClass(&CreateEditorWindow);
    TVSTPluginBase::VSTModuleCreate();
}

void TVSTPlugin::ApplyStyle() {
    // GUI thread. The skins are built in, so activating one cannot fail.
    gui::ActivateSkin(Style());
}

IMapEditor* TVSTPlugin::MapEditor() const noexcept {
    return dynamic_cast<IMapEditor*>(EditorForm());
}

void TVSTPlugin::ResetState() {
    TStateUpdate update(*this);
    Mapping().Reset();
    TVSTPluginBase::ResetState();
}

// ---- Audio thread ------------------------------------------------------------------------

void TVSTPlugin::ProcessEvents(const VstEvents& events) noexcept {
    TNoteMapStore::AudioGuard pin(maps_);
    const TOstinel& map = pin.Map();
    audioMap_ = &map;
    // The intake's walk with the handler called directly, not through the virtual hook.
    ForEachMidiEvent(events, [&](const VstMidiEvent& event) { MapMidi(map, event); });
    audioMap_ = nullptr;
}

void TVSTPlugin::ProcessMidi(const VstMidiEvent& event) noexcept {
    if (audioMap_ != nullptr)
        MapMidi(*audioMap_, event);
    else
        TVSTPluginBase::ProcessMidi(event); // CC assignments only: no map is pinned
}

void TVSTPlugin::MapMidi(const TOstinel& map, const VstMidiEvent& event) noexcept {
    const int status = event.midiData[0];
    const int ch = status & 0x0F;
    const int d1 = event.midiData[1] & 0x7F;
    const int d2 = event.midiData[2] & 0x7F;
    const auto c = static_cast<std::uint8_t>(ch);
    const auto b1 = static_cast<std::uint8_t>(d1);
    const auto b2 = static_cast<std::uint8_t>(d2);
    const std::int32_t delta = event.deltaFrames;

    switch (status & 0xF0) {
    case 0x90:
        if (d2 > 0)
            NoteOn(map, ch, d1, d2, delta);
        else
            NoteOff(map, ch, d1, d2, delta);
        break;
    case 0x80:
        NoteOff(map, ch, d1, d2, delta);
        break;
    case 0xB0:
        // The base handler (CC assignments) acts on control changes only and never suppresses
        // what follows.
        TVSTPluginBase::ProcessMidi(event);
        SendControlChange(c, b1, b2, delta);
        break;
    case 0xD0:
        SendChannelPressure(c, b1, delta);
        break;
    case 0xE0:
        SendPitchBend(c, b1, b2, delta);
        break;
    case 0xA0:
        SendPolyPressure(c, b1, b2, delta);
        break;
    default:
        break; // program change and system messages are dropped
    }
}

void TVSTPlugin::NoteOn(const TOstinel& map, int ch, int note, int velocity,
                        std::int32_t deltaFrames) noexcept {
    const TOstinelChannel& channel = map[ch];
    if (LearnState() == kLearnNote) {
        // The note-on is consumed whatever channel it came on.
        if (channel.Active() && ch == map.SelectedChannel())
            learnedNote_.Publish(note);
        SetLearnState(kLearnNone);
        // Also when nothing was captured: the editor must stop showing a learn that ended.
        RequestEditIdle();
        return;
    }
    if (!channel.Active()) {
        SendNoteOn(static_cast<std::uint8_t>(ch), static_cast<std::uint8_t>(note),
                   static_cast<std::uint8_t>(velocity), deltaFrames);
        return;
    }
    if (!channel.InRange(note))
        return;
    Highlight(map, ch, note, true);
    mapper_.PlayTargets(channel, ch, note, velocity, deltaFrames, sink_);
}

void TVSTPlugin::NoteOff(const TOstinel& map, int ch, int note, int velocity,
                         std::int32_t deltaFrames) noexcept {
    mapper_.NoteOff(ch, note, velocity, deltaFrames, sink_);
    Highlight(map, ch, note, false);
}

void TVSTPlugin::QueueHighlight(int note, bool on) noexcept {
    if (playedNotes_.Push(note, on))
        RequestEditIdle();
}

bool TVSTPlugin::OnProcess32Replacing(float** inputs, float** outputs,
                                      std::int32_t frames) noexcept {
    TVSTPluginBase::OnProcess32Replacing(inputs, outputs, frames);
    TransportCheck();
    return true;
}

void TVSTPlugin::TransportCheck() noexcept {
    const VstTimeInfo* info = RequestTimeInfo(kVstTransportPlaying);
    if (info == nullptr)
        return; // no time information: no check for this block
    const bool playing = (info->flags & kVstTransportPlaying) != 0;
    if (playing && !WasPlaying) {
        lastSamplePos_ = 0.0;
    } else if (!playing && WasPlaying) {
        lastSamplePos_ = 0.0;
        WasPlaying = false;
        return;
    }
    if (info->samplePos < lastSamplePos_)
        mapper_.ReleaseAll(sink_);
    lastSamplePos_ = info->samplePos;
    WasPlaying = playing;
}

// ---- GUI thread --------------------------------------------------------------------------

bool TVSTPlugin::PreviewNote(int channel, int note, int velocity) {
    const TChannelOstinItem& row = Mapping().GetItem(channel).Notes.GetItem(note);
    std::array<TGuiEvent, 2 * kMapTargets> events;
    int ons = 0;
    std::array<TGuiEvent, kMapTargets> offs;
    const std::int32_t delay = DelaySamples(0.25);
    ForEachTargetWithNote(row.Targets, [&](const TOstinToItem& target, int oc, int t) {
        velocity = ComputeVelocity(velocity, target);
        const auto n = static_cast<std::uint8_t>(t);
        const auto v = static_cast<std::uint8_t>(velocity);
        events[static_cast<std::size_t>(ons)] = {static_cast<std::uint8_t>(0x90 + oc), n, v, 0};
        offs[static_cast<std::size_t>(ons)] = {static_cast<std::uint8_t>(0x80 + oc), n, v, delay};
        ++ons;
    });
    std::copy_n(offs.begin(), ons, events.begin() + ons);
    return ons == 0 || QueueFromGuiThread(events.data(), 2 * ons);
}

void TVSTPlugin::OnEditIdle() {
    TVSTPluginBase::OnEditIdle();
    IMapEditor* editor = MapEditor();
    const int learned = learnedNote_.Take();
    if (learned >= 0 && editor != nullptr)
        editor->LearnNote(learned);
    else if (editor != nullptr && LearnState() == kLearnNone)
        editor->LearnEnded();
    if (editor != nullptr) {
        playedNotes_.Drain([editor](int note, bool on) {
            if (on)
                editor->HighlightNoteOn(note);
            else
                editor->HighlightNoteOff(note);
        });
        editor->UpdateHighlightedNotes();
    }
}

VstIntPtr TVSTPlugin::OnVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (index == kSeedRequest) {
        RandomSeed(static_cast<std::uint32_t>(value));
        return 1;
    }
    return TVSTPluginBase::OnVendorSpecific(index, value, ptr, opt);
}

// ---- State stream ------------------------------------------------------------------------

void TVSTPlugin::WriteState(TValueWriter& writer) {
    WriteMapSection(writer, Mapping());
}

void TVSTPlugin::ReadState(TValueReader& reader, const std::string&) {
    ReadMapSection(reader, Mapping());
}

} // namespace ostinel
