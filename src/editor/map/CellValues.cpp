#include "editor/map/CellValues.h"

#include "common/QelCommon.h"

namespace ostinel {

namespace {

std::string Int(float value) {
    return FormatInt(RoundedValue(value));
}

} // namespace

int RoundedValue(float value) noexcept {
    // Model values are clamped to small ranges; the clamp only guards the narrowing.
    const std::int64_t v = RoundSingle(value);
    return static_cast<int>(v < -1000000 ? -1000000 : (v > 1000000 ? 1000000 : v));
}

bool IsEmptyTarget(const TOstinToItem& target) noexcept {
    return RoundedValue(target.Note()) == -1;
}

float CellValue(const TOstinToItem& target, TCellKind kind) noexcept {
    switch (kind) {
    case TCellKind::ckChannel:
        return target.Channel();
    case TCellKind::ckNote:
        return target.Note();
    case TCellKind::ckVelocityScale:
        return target.VelocityScale();
    case TCellKind::ckRandom:
        return target.Random();
    case TCellKind::ckProbability:
        return target.Probability();
    case TCellKind::ckNone:
    case TCellKind::ckNoteLabel:
        break;
    }
    return 0.0f;
}

void SetCellValue(TOstinToItem& target, TCellKind kind, float value) noexcept {
    switch (kind) {
    case TCellKind::ckChannel:
        target.SetChannel(value);
        break;
    case TCellKind::ckNote:
        target.SetNote(value);
        break;
    case TCellKind::ckVelocityScale:
        target.SetVelocityScale(value);
        break;
    case TCellKind::ckRandom:
        target.SetRandom(value);
        break;
    case TCellKind::ckProbability:
        target.SetProbability(value);
        break;
    case TCellKind::ckNone:
    case TCellKind::ckNoteLabel:
        break;
    }
}

float CellDefault(TCellKind kind, int targetIndex, int sourceNote) noexcept {
    switch (kind) {
    case TCellKind::ckChannel:
        return 1.0f;
    case TCellKind::ckNote:
        return targetIndex == 0 ? static_cast<float>(sourceNote) : -1.0f;
    case TCellKind::ckProbability:
        return 100.0f;
    case TCellKind::ckVelocityScale:
    case TCellKind::ckRandom:
    case TCellKind::ckNone:
    case TCellKind::ckNoteLabel:
        break;
    }
    return 0.0f;
}

std::string CellText(const TOstinToItem& target, TCellKind kind, int lowestOctave) {
    if (IsEmptyTarget(target)) {
        return {};
    }
    switch (kind) {
    case TCellKind::ckChannel:
    case TCellKind::ckRandom:
        return Int(CellValue(target, kind));
    case TCellKind::ckNote:
        return NoteLabel(RoundedValue(target.Note()), lowestOctave);
    case TCellKind::ckVelocityScale:
    case TCellKind::ckProbability:
        return Int(CellValue(target, kind)) + "%";
    case TCellKind::ckNone:
    case TCellKind::ckNoteLabel:
        break;
    }
    return {};
}

std::string CellInfoText(const TOstinToItem& target, TCellKind kind, int targetIndex,
                         int lowestOctave) {
    const std::string k = FormatInt(targetIndex + 1);
    switch (kind) {
    case TCellKind::ckChannel:
        return k + "-Channel: " + Int(target.Channel());
    case TCellKind::ckNote:
        return k + "-Note: " + NoteLabel(RoundedValue(target.Note()), lowestOctave);
    case TCellKind::ckVelocityScale: {
        const int scale = RoundedValue(target.VelocityScale());
        const int random = RoundedValue(target.Random());
        std::string text = k + "-Scale: " + FormatInt(scale) + "%";
        if (random != 0) {
            text += " <=> " + FormatInt(scale + random) + "%";
        }
        return text;
    }
    case TCellKind::ckRandom:
        return k + "-Random: " + Int(target.Random());
    case TCellKind::ckProbability:
        return k + "-Note Probability: " + Int(target.Probability()) + "%";
    case TCellKind::ckNone:
    case TCellKind::ckNoteLabel:
        break;
    }
    return {};
}

} // namespace ostinel
