#include "preset/PresetText.h"

#include "common/QelCommon.h"
#include "preset/NoteLabel.h"
#include "preset/TextColumns.h"

#include <cmath>

namespace ostinel::cli {

namespace {

std::string Num(float v, bool plus = false) {
    return (plus && v > 0.0f ? "+" : "") + ShortestText(v);
}

// A note value as a label, with the stored value when it is not a whole note.
std::string NoteText(float value) {
    if (value < 0.0f)
        return "none";
    std::string label = NoteLabel(static_cast<int>(RoundSingle(value)));
    if (value != std::floor(value))
        label += "(" + Num(value) + ")";
    return label;
}

std::string TargetText(const TOstinToItem& t) {
    return "ch" + Pad(Num(t.Channel()), 3) + Pad(NoteText(t.Note()), 11) +
           PadLeft(Num(t.Probability()), 3) + "% vel " + Pad(Num(t.VelocityScale(), true), 4) +
           " rnd " + Num(t.Random());
}

int ChangedRows(const TOstinel& map, int c) {
    int n = 0;
    for (int note = 0; note < TOstinList::Count(); ++note)
        n += RowDiffersFromDefault(map, c, note) ? 1 : 0;
    return n;
}

} // namespace

std::string PresetToText(const PresetState& state) {
    const TOstinel& map = *state.map;
    std::string out;
    out += "Version:          " + state.version + "\n";
    out += "Name:             " + (state.name.empty() ? std::string("(none)") : state.name) + "\n";
    if (!state.headerTexts[0].empty() || !state.headerTexts[1].empty())
        out += "Header texts:     \"" + state.headerTexts[0] + "\", \"" + state.headerTexts[1] +
               "\"\n";
    out += "Selected channel: " + std::to_string(map.SelectedChannel() + 1) + "\n";
    out += "CC assignments:   ";
    if (state.ccAssignments.empty())
        out += "none\n";
    for (std::size_t i = 0; i < state.ccAssignments.size(); ++i)
        out += (i == 0 ? "" : "                  ") + std::string("\"") +
               state.ccAssignments[i].parameter + "\" <- CC " +
               std::to_string(state.ccAssignments[i].number) + "\n";

    out += "\nChannel  Active  Range                     Changed rows\n";
    for (int c = 0; c < TOstinel::Count(); ++c) {
        const TOstinelChannel& channel = map[c];
        out += PadLeft(std::to_string(c + 1), 7) + "  " + Pad(channel.Active() ? "yes" : "no", 8) +
               Pad(NoteText(channel.RangeFrom()) + " .. " + NoteText(channel.RangeTo()), 26) +
               std::to_string(ChangedRows(map, c)) + "\n";
    }

    for (int c = 0; c < TOstinel::Count(); ++c) {
        if (ChangedRows(map, c) == 0)
            continue;
        out += "\nChannel " + std::to_string(c + 1) + ", rows that differ from the default:\n";
        out += "  Row         Target 1                                 Target 2"
               "                                 Target 3\n";
        for (int n = 0; n < TOstinList::Count(); ++n) {
            if (!RowDiffersFromDefault(map, c, n))
                continue;
            const TChannelOstinItem& row = map[c].Notes[n];
            std::string line = "  " + NoteLabel(n) + "  ";
            for (int k = 0; k < TOstinTo::Count(); ++k)
                line += Pad(TargetText(row.Targets[k]), 39) + "  ";
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            out += line;
            if (row.SourceNote() != n)
                out += "  (source note " + std::to_string(row.SourceNote()) + ")";
            out += "\n";
        }
    }
    return out;
}

} // namespace ostinel::cli
