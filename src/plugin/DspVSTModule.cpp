#include "plugin/DspVSTModule.h"

#include <algorithm>

namespace ostinel {

using namespace vst;

namespace {
constexpr std::int32_t kMinScratchFrames = 4096;
constexpr int kMaxScratchChannels = 8;
} // namespace

TDspVSTModule::TDspVSTModule() {
    SizeScratch(BlockSize());
}

void TDspVSTModule::OnBlockSizeChange() {
    SizeScratch(BlockSize());
}

void TDspVSTModule::SizeScratch(std::int32_t frames) {
    frames = std::max(frames, kMinScratchFrames);
    if (frames <= scratchFrames_)
        return;
    scratch_.assign(static_cast<std::size_t>(frames) * kMaxScratchChannels, 0.0f);
    scratchChannels_.resize(kMaxScratchChannels);
    for (int c = 0; c < kMaxScratchChannels; ++c)
        scratchChannels_[static_cast<std::size_t>(c)] =
            scratch_.data() + static_cast<std::size_t>(c) * static_cast<std::size_t>(frames);
    scratchFrames_ = frames;
}

const VstTimeInfo* TDspVSTModule::RequestTimeInfo(std::int32_t filter) noexcept {
    return reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, filter));
}

void TDspVSTModule::AfterProcessing(std::int32_t frames) noexcept {
    DrainGuiEvents(frames);
    FlushOutputEvents();
}

void TDspVSTModule::ProcessReplacing32(float** inputs, float** outputs,
                                       std::int32_t frames) noexcept {
    OnProcess32Replacing(inputs, outputs, frames);
    AfterProcessing(frames);
}

void TDspVSTModule::ProcessReplacing64(double**, double**, std::int32_t frames) noexcept {
    AfterProcessing(frames); // no 64-bit handler is set
}

void TDspVSTModule::ProcessAccumulating(float** inputs, float** outputs,
                                        std::int32_t frames) noexcept {
    const int channels = std::min(NumOutputs(), kMaxScratchChannels);
    for (std::int32_t done = 0; done < frames;) {
        const std::int32_t n = std::min(frames - done, scratchFrames_);
        for (int c = 0; c < channels; ++c)
            std::fill_n(scratchChannels_[static_cast<std::size_t>(c)], n, 0.0f);
        if (!OnProcess32Replacing(inputs, scratchChannels_.data(), n))
            break;
        if (outputs != nullptr)
            for (int c = 0; c < channels; ++c)
                if (float* out = outputs[c])
                    for (std::int32_t i = 0; i < n; ++i)
                        out[done + i] += scratchChannels_[static_cast<std::size_t>(c)][i];
        done += n;
    }
    AfterProcessing(frames);
}

} // namespace ostinel
