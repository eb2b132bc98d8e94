#include "mapping/FileMapper.h"

#include "common/Error.h"
#include "mapping/TrackMapper.h"
#include "midi/TempoMap.h"
#include "preset/PresetState.h"

#include <algorithm>

namespace ostinel::cli {

FileMapper::FileMapper(const vsthost::PluginLibrary& library, MapOptions options)
    : library_(library), options_(std::move(options)), host_(options_.host) {
    if (options_.preset) {
        try {
            presetIsBank_ = ReadPreset(*options_.preset).container == Container::Bank;
        } catch (const Error& e) {
            throw Error(std::string("the preset cannot be loaded: ") + e.what());
        }
    }
}

std::unique_ptr<vsthost::PluginInstance> FileMapper::NewInstance(bool& seeded) {
    auto instance = std::make_unique<vsthost::PluginInstance>(library_, host_);
    if (options_.preset)
        instance->SetChunk(*options_.preset, !presetIsBank_); // a bank is only read as a bank
    if (!targets_) {
        // The state as the plug-in holds it; fall back to the preset as given.
        const std::vector<std::uint8_t> state = instance->GetChunk(true);
        try {
            targets_.emplace(*ReadPreset(state).map);
        } catch (const Error&) {
            if (options_.preset)
                targets_.emplace(*ReadPreset(*options_.preset).map);
            else
                targets_.emplace(TOstinel());
        }
    }
    seeded = instance->Seed(options_.seed) && seeded;
    return instance;
}

MapResult FileMapper::Map(const smf::MidiFile& in) {
    const smf::TempoMap tempo(in);
    MapResult result;
    result.file.format = in.format;
    result.file.division = in.division;
    result.file.tracks.reserve(in.tracks.size());
    TrackMapper mapper(tempo, in.division, options_.host, options_.carry);
    for (std::size_t t = 0; t < in.tracks.size(); ++t) {
        const smf::Track& track = in.tracks[t];
        const bool played =
            std::any_of(track.events.begin(), track.events.end(), [this](const smf::Event& e) {
                return CarryOf(e, options_.carry) == Carry::Play;
            });
        if (!played) {
            smf::Track& copy = result.file.tracks.emplace_back();
            for (const smf::Event& e : track.events) {
                const Carry carry = CarryOf(e, options_.carry);
                CountCarry(e, carry, result.summary);
                if (carry == Carry::Keep)
                    copy.Add(e, track.Data(e));
            }
            continue;
        }
        const std::unique_ptr<vsthost::PluginInstance> instance = NewInstance(result.seeded);
        result.file.tracks.push_back(mapper.Map(track, t, *instance, *targets_, result.summary,
                                                result.firstNotes, options_.noteChanges));
    }
    std::stable_sort(result.firstNotes.begin(), result.firstNotes.end(),
                     [](const NoteChange& a, const NoteChange& b) {
                         return a.tick != b.tick ? a.tick < b.tick : a.track < b.track;
                     });
    if (result.firstNotes.size() > options_.noteChanges)
        result.firstNotes.resize(options_.noteChanges);
    return result;
}

} // namespace ostinel::cli
