#pragma once
// The module's stored configuration: identity, flags, capabilities, pins, its programs and
// parameters. A concrete module passes its configuration to the constructor.
#include "plugin/DspVSTModule.h"

#include <string>
#include <vector>

namespace ostinel {

struct TVSTParameterConfig {
    std::string DisplayName;
    std::string ShortLabel;
    std::string Units;
    float Min = 0.0f;
    float Max = 1.0f;
    bool CanBeAutomated = true;
};

struct TVSTModuleConfig {
    std::string EffectName;
    std::string ProductName;
    std::string VendorName;
    std::string Version;
    int VersionMajor = 1, VersionMinor = 0, VersionRelease = 0;
    std::string UniqueID;
    std::int32_t Flags = 0;
    TVstPluginCategory PlugCategory = TVstPluginCategory::vpcUnknown;
    TVstCanDos CanDos;
    int NumInputs = 2, NumOutputs = 2;
    int InitialDelay = 0, TailSize = 0;
    float IORatio = 1.0f;
    bool KeysRequired = false;
    int NumCategories = 1;
    std::vector<std::string> Programs;
    std::vector<TVSTParameterConfig> Parameters;
};

class TVSTModule : public TDspVSTModule {
public:
    explicit TVSTModule(const TVSTModuleConfig& config);
    [[nodiscard]] const std::string& VersionText() const noexcept { return versionText_; }

private:
    std::string versionText_;
};

} // namespace ostinel
