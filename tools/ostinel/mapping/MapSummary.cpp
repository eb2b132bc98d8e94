#include "mapping/MapSummary.h"

namespace ostinel::cli {

MapSummary& MapSummary::operator+=(const MapSummary& o) {
    eventsIn += o.eventsIn;
    eventsOut += o.eventsOut;
    notesIn += o.notesIn;
    notesOut += o.notesOut;
    notesRemapped += o.notesRemapped;
    notesDropped += o.notesDropped;
    metaCarried += o.metaCarried;
    notesLeftSounding += o.notesLeftSounding;
    releasedAtEnd += o.releasedAtEnd;
    fullBlocks += o.fullBlocks;
    ignoredOut += o.ignoredOut;
    return *this;
}

} // namespace ostinel::cli
