#include "mapping/CarryOver.h"

namespace ostinel::cli {

namespace {

constexpr std::uint8_t kProgramChange = 0xC0;

CarriedKinds* KindsOf(Carry carry, MapSummary& summary) {
    switch (carry) {
    case Carry::Keep:
        return &summary.kept;
    case Carry::Drop:
        return &summary.dropped;
    case Carry::Play:
        break;
    }
    return nullptr;
}

} // namespace

Carry CarryOf(const smf::Event& event, CarryMode mode) {
    if (event.IsChannel()) {
        if (event.Kind() == kProgramChange && mode == CarryMode::Converter)
            return Carry::Keep;
        return Carry::Play;
    }
    if (event.IsSysEx())
        return mode == CarryMode::Converter ? Carry::Keep : Carry::Drop;
    return Carry::Keep; // meta
}

void CountCarry(const smf::Event& event, Carry carry, MapSummary& summary) {
    if (event.IsChannel() && event.Kind() == kProgramChange) {
        // Played to the plug-in, which drops program changes.
        CarriedKinds* kinds = carry == Carry::Play ? &summary.dropped : KindsOf(carry, summary);
        ++kinds->programChanges;
        return;
    }
    CarriedKinds* kinds = KindsOf(carry, summary);
    if (kinds == nullptr || event.IsEndOfTrack())
        return;
    if (event.IsSysEx())
        ++kinds->systemExclusive;
    else if (event.IsMeta())
        ++kinds->meta;
}

} // namespace ostinel::cli
