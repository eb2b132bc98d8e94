#pragma once
// The map editor as the plug-in module sees it. The module hands it played notes and learned
// notes from its idle handler, on the GUI thread; the audio thread never calls the editor.
#include "services/PluginEditor.h"

namespace ostinel {

class IMapEditor : public IPluginEditor {
public:
    // True when the editor wants a repaint for the note.
    virtual bool HighlightNoteOn(int note) = 0;
    virtual bool HighlightNoteOff(int note) = 0;
    virtual void LearnNote(int note) = 0;
    // The module's learn state is over without a note (one came on another channel): whatever
    // waits for a note stops waiting.
    virtual void LearnEnded() = 0;
    virtual void UpdateHighlightedNotes() = 0;
};

} // namespace ostinel
