#include "services/VSTPluginBase.h"

#include "common/Error.h"
#include "common/QelCommon.h"
#include "platform/System.h"
#include "state/MemoryStreamChunk.h"
#include "state/StateStream.h"
#include "state/ValueReader.h"
#include "state/ValueWriter.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace ostinel {

namespace {

constexpr vst::VstIntPtr kWheelNotice = 0x57686565; // "Whee"

std::optional<int> ParseDecimal(const std::optional<std::string>& text) {
    if (!text || text->empty())
        return std::nullopt;
    const char* first = text->data();
    const char* last = first + text->size();
    if (*first == '+')
        ++first;
    int value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last)
        return std::nullopt;
    return value;
}

} // namespace

TMessage ErrorMessage(const std::string& sentence, const std::string& error,
                      const std::string& caption) {
    return {sentence + "\r\n\r\n\"" + error + "\"", caption, TMessageKind::Warning};
}

TVSTPluginBase::TVSTPluginBase(const TVSTModuleConfig& config) : TVSTModule(config) {
    for (auto& entry : ccParameter_)
        entry.store(-1, std::memory_order_relaxed);
}

TVSTPluginBase::~TVSTPluginBase() = default;

void TVSTPluginBase::VSTModuleCreate() {
    midiCCs_.Clear();
    SetLearnState(kLearnNone);
    const std::string documents = platform::DocumentsFolder();
    using platform::kPathDelimiter;
    userFolder_ =
        documents + kPathDelimiter + "Quorvat" + kPathDelimiter + ProductName() + kPathDelimiter;
    presetsFolder_ = userFolder_ + "Presets" + kPathDelimiter;
    WasPlaying = false;
    LoadSettings();
    LoadInitPreset();
}

IPluginEditor* TVSTPluginBase::PluginEditor() const noexcept {
    return dynamic_cast<IPluginEditor*>(EditorForm());
}

void TVSTPluginBase::SetPresetName(const std::string& name) {
    if (name == presetName_)
        return;
    presetName_ = name;
    if (IPluginEditor* editor = PluginEditor())
        editor->PresetNameChanged();
}

void TVSTPluginBase::ResolveCCAssignments() noexcept {
    std::array<std::int16_t, 128> table;
    table.fill(-1);
    for (int i = midiCCs_.Count() - 1; i >= 0; --i) {
        const TMidiCCItem& item = midiCCs_.GetItem(i);
        if (item.CCNumber < 0 || item.CCNumber > 127)
            continue;
        const int parameter = parameterValues_.IndexOfName(item.ParameterName);
        if (parameter >= 0) // the first assignment in list order wins
            table[static_cast<std::size_t>(item.CCNumber)] = static_cast<std::int16_t>(parameter);
    }
    for (std::size_t cc = 0; cc < table.size(); ++cc)
        ccParameter_[cc].store(table[cc], std::memory_order_relaxed);
}

void TVSTPluginBase::NotifyHostOfChange() {
    if (ParameterCount() > 0)
        SetParameter(0, GetParameter(0));
}

void TVSTPluginBase::ResetAllParameterValues() {
    for (int i = 0; i < parameterValues_.Count(); ++i) {
        TVSTParameterValue& value = parameterValues_.GetItem(i);
        value.CurrentValue = value.DefaultValue;
        SetParameter(i, GetParameter(i));
    }
}

void TVSTPluginBase::ResetState() {
    TStateUpdate update(*this);
    SetPresetName(std::string());
    ResetAllParameterValues();
    midiCCs_.Clear();
    ResolveCCAssignments();
}

void TVSTPluginBase::LoadChunkFile(TMemoryStreamChunk& chunk, const std::string& path) {
    const std::vector<std::uint8_t> bytes = platform::ReadFile(path);
    TMemoryStream stream;
    stream.Write(bytes.data(), bytes.size());
    stream.SetPosition(0);
    chunk.LoadFromStream(stream);
}

void TVSTPluginBase::SaveChunkFile(const TMemoryStreamChunk& chunk, const std::string& path) {
    TMemoryStream stream;
    chunk.SaveToStream(stream);
    const auto bytes = stream.Bytes();
    platform::WriteFile(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

void TVSTPluginBase::LoadInitPreset() {
    const std::string path = PresetPath("init");
    bool loaded = false;
    if (FileExistsSafe(path)) {
        TMemoryStreamChunk chunk;
        try {
            LoadChunkFile(chunk, path);
            loaded = LoadFromChunk(chunk, false);
        } catch (const std::exception& e) {
            // An unreadable start preset still leaves a complete state.
            ShowMessageDialog(
                ErrorMessage("Error loading preset from file.", e.what(), "Load Preset"));
        }
    }
    if (loaded) {
        SetPresetName(std::string());
        NotifyHostOfChange();
    } else {
        ResetState();
    }
}

// The concrete module's part of the stream, reached through the base's virtuals. The preset
// name is taken as soon as the header is read, so a later error still leaves it.
class TVSTPluginBase::TModuleSection final : public IModuleStateSection {
public:
    explicit TModuleSection(TVSTPluginBase& base) : base_(base) {}
    void WriteSection(TValueWriter& writer) override { base_.WriteState(writer); }
    void PresetNameRead(const std::string& name) override { base_.SetPresetName(name); }
    void ReadSection(TValueReader& reader, const TStateHeader& header) override {
        base_.ReadState(reader, header.Version);
    }

private:
    TVSTPluginBase& base_;
};

bool TVSTPluginBase::SaveToChunk(TMemoryStreamChunk& chunk) {
    TMemoryStream& payload = chunk.Payload();
    payload.Clear();
    try {
        TValueWriter writer(payload);
        TModuleSection section(*this);
        WriteStateStream(writer, {pluginVersion_, presetName_, {}}, section, midiCCs_);
        return true;
    } catch (const std::exception& e) {
        ShowMessageDialog(ErrorMessage("Error saving preset.", e.what(), "Save Preset"));
        return false;
    }
}

bool TVSTPluginBase::LoadFromChunk(TMemoryStreamChunk& chunk, bool checkPresetFile) {
    TStateUpdate update(*this);
    bool ok = true;
    try {
        ResetState();
        TValueReader reader(chunk.Payload().Bytes());
        TModuleSection section(*this);
        ReadStateStream(reader, section, midiCCs_);
        if (checkPresetFile && !presetName_.empty() && !FileExistsSafe(PresetPath(presetName_)))
            SetPresetName(std::string());
    } catch (const std::exception& e) {
        // What was read before the error stays in effect, on top of the reset state.
        ShowMessageDialog(ErrorMessage("Error loading preset.", e.what(), "Load Preset"));
        ok = false;
    }
    ResolveCCAssignments();
    return ok;
}

void TVSTPluginBase::LoadSettings() {
    style_ = 0;
    lowestOctave_ = -2;
    try {
        const platform::SettingsStore store = platform::SettingsStore::Open(ProductName());
        style_ = ParseDecimal(store.ReadString("Config", "Style")).value_or(0);
        lowestOctave_ = ParseDecimal(store.ReadString("Config", "LowestOctave")).value_or(-2);
    } catch (const std::exception&) {
        // Unreadable settings give the defaults.
    }
    lowestOctave_ = std::clamp(lowestOctave_, -2, 0);
    SetOctaveOffset(static_cast<std::int8_t>(lowestOctave_));
}

void TVSTPluginBase::SaveSettings() {
    platform::SettingsStore store = platform::SettingsStore::Open(ProductName());
    store.WriteString("Config", "Style", std::to_string(style_));
    store.WriteString("Config", "LowestOctave", std::to_string(lowestOctave_));
}

void TVSTPluginBase::SetLowestOctave(int octave) {
    if (octave == lowestOctave_)
        return;
    lowestOctave_ = octave;
    SetOctaveOffset(static_cast<std::int8_t>(octave));
    SaveSettings();
}

void TVSTPluginBase::SetStyle(int style) {
    if (style == style_)
        return;
    style_ = style;
    SaveSettings();
}

void TVSTPluginBase::ApplyStyle() {
    // Skins belong to the GUI, which this layer does not know: the product overrides this.
}

void TVSTPluginBase::ShowMessageDialog(const TMessage& message) {
    if (IPluginEditor* editor = PluginEditor())
        editor->ShowMessage(message);
    else
        pendingMessage_ = message;
}

std::optional<TMessage> TVSTPluginBase::TakePendingMessage() {
    std::optional<TMessage> message = std::move(pendingMessage_);
    pendingMessage_.reset();
    return message;
}

void TVSTPluginBase::ProcessMidi(const vst::VstMidiEvent& event) noexcept {
    if ((event.midiData[0] & 0xF0) != 0xB0)
        return;
    // An assignment whose parameter does not exist is skipped quietly.
    const int parameter = ccParameter_[event.midiData[1] & 0x7F].load(std::memory_order_relaxed);
    if (parameter >= 0)
        SetParameter(parameter, static_cast<float>(event.midiData[2] & 0x7F) / 127.0f);
}

bool TVSTPluginBase::OnProcess32Replacing(float**, float** outputs, std::int32_t frames) noexcept {
    if (outputs != nullptr)
        for (int c = 0; c < std::min(2, NumOutputs()); ++c)
            if (outputs[c] != nullptr)
                std::fill_n(outputs[c], frames, 0.0f);
    return true;
}

bool TVSTPluginBase::OnEditGetSize(std::int16_t& width, std::int16_t& height) {
    if (const IEditorForm* form = EditorForm()) {
        width = static_cast<std::int16_t>(form->Width());
        height = static_cast<std::int16_t>(form->Height());
    }
    return true;
}

void TVSTPluginBase::OnEditIdle() {
    if (IPluginEditor* editor = PluginEditor())
        editor->EditorIdle();
}

void TVSTPluginBase::OnEditorOpening() {
    ApplyStyle();
}

vst::VstIntPtr TVSTPluginBase::OnVendorSpecific(vst::VstInt32, vst::VstIntPtr value, void*, float) {
    if (value == kWheelNotice)
        if (IPluginEditor* editor = PluginEditor())
            editor->FocusControlUnderCursor();
    return 0;
}

float TVSTPluginBase::OnGetChunkParameter(int index) noexcept {
    // The table never changes after creation in this plug-in, so the audio thread may read it.
    if (index >= 0 && index < parameterValues_.Count())
        return parameterValues_.GetItem(index).CurrentValue;
    return 0.0f;
}

void TVSTPluginBase::OnStoreChunk(TVstProgram& program, int, bool) {
    // The chunk object is kept between stores so its buffer is not grown again every time.
    if (!storeChunk_)
        storeChunk_ = std::make_unique<TMemoryStreamChunk>();
    SaveToChunk(*storeChunk_);
    program.ProgramChunk.Clear();
    storeChunk_->SaveToStream(program.ProgramChunk);
}

void TVSTPluginBase::OnLoadChunk(TVstProgram& program, int, bool) {
    if (program.ProgramChunk.Size() <= 8)
        return;
    ResetAllParameterValues();
    TMemoryStreamChunk chunk;
    program.ProgramChunk.SetPosition(0);
    try {
        chunk.LoadFromStream(program.ProgramChunk);
    } catch (const std::exception& e) {
        // A wrong id or header: the current state is kept.
        ShowMessageDialog(ErrorMessage("Error loading preset.", e.what(), "Load Preset"));
        return;
    }
    if (!LoadFromChunk(chunk, true))
        ResetAllParameterValues();
}

} // namespace ostinel
