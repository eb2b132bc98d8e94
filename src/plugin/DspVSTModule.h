#pragma once
// Processing: the three processing operations, each followed by the output flush, and the
// time-info request. Audio thread; nothing here allocates while processing.
#include "plugin/VSTModuleWithPrograms.h"

#include <vector>

namespace ostinel {

class TDspVSTModule : public TVSTModuleWithPrograms {
public:
    TDspVSTModule();

    void ProcessAccumulating(float** inputs, float** outputs,
                             std::int32_t frames) noexcept override;
    void ProcessReplacing32(float** inputs, float** outputs, std::int32_t frames) noexcept override;
    void ProcessReplacing64(double** inputs, double** outputs,
                            std::int32_t frames) noexcept override;

    // The host's time info for the current block, or nullptr when it gives none.
    [[nodiscard]] const vst::VstTimeInfo* RequestTimeInfo(std::int32_t filter) noexcept;

protected:
    // The processing handler (OnProcess32Replacing); false when none is set.
    virtual bool OnProcess32Replacing(float** /*inputs*/, float** /*outputs*/,
                                      std::int32_t /*frames*/) noexcept {
        return false;
    }
    void OnBlockSizeChange() override;

private:
    void AfterProcessing(std::int32_t frames) noexcept;
    void SizeScratch(std::int32_t frames);

    // Silent channels for the accumulating path, sized on the GUI thread (block size changes
    // and construction), so the audio thread never allocates. Longer calls go in slices.
    std::vector<float> scratch_;
    std::vector<float*> scratchChannels_;
    std::int32_t scratchFrames_ = 0;
};

} // namespace ostinel
