#pragma once
// What the map editor needs of the concrete plug-in module beyond the base module: the note
// map and the row preview. TVSTPlugin implements it; the editor layer sits below the module's
// own layer and knows it only through this. GUI thread only.
#include "engine/NoteMapStore.h"

#include <cstdint>

namespace ostinel {

class TVSTPluginBase;

class IMapEditorModule {
public:
    [[nodiscard]] virtual TVSTPluginBase& PluginBase() noexcept = 0;
    // The map to show and edit; bulk rewrites (paste) go through the store.
    [[nodiscard]] virtual TNoteMapStore& MapStore() noexcept = 0;
    // Plays every target of row `note` of `channel` (0-based) now and releases them 250 ms of
    // processed audio later. Never blocks.
    virtual bool PreviewNote(int channel, int note, int velocity) = 0;
    // Counts the module's rewrites of its whole state (host chunks, presets, Init); the editor
    // compares it at idle time to know when to show the state anew.
    [[nodiscard]] virtual std::uint32_t StateGeneration() const noexcept = 0;

protected:
    ~IMapEditorModule() = default;
};

} // namespace ostinel
