#include "mapping/MapSummary.h"

namespace ostinel::cli {

CarriedKinds& CarriedKinds::operator+=(const CarriedKinds& o) {
    programChanges += o.programChanges;
    systemExclusive += o.systemExclusive;
    meta += o.meta;
    return *this;
}

MapSummary& MapSummary::operator+=(const MapSummary& o) {
    eventsIn += o.eventsIn;
    eventsOut += o.eventsOut;
    notesIn += o.notesIn;
    notesOut += o.notesOut;
    notesRemapped += o.notesRemapped;
    notesDropped += o.notesDropped;
    kept += o.kept;
    dropped += o.dropped;
    notesLeftSounding += o.notesLeftSounding;
    releasedAtEnd += o.releasedAtEnd;
    fullBlocks += o.fullBlocks;
    ignoredOut += o.ignoredOut;
    return *this;
}

} // namespace ostinel::cli
