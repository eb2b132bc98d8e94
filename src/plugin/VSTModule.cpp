#include "plugin/VSTModule.h"

namespace ostinel {

TVSTModule::TVSTModule(const TVSTModuleConfig& config) : versionText_(config.Version) {
    SetEffectName(config.EffectName);
    SetProductName(config.ProductName);
    SetVendorName(config.VendorName);
    SetVersion(config.VersionMajor, config.VersionMinor, config.VersionRelease);
    SetUniqueID(config.UniqueID);
    SetFlags(config.Flags);
    SetPlugCategory(config.PlugCategory);
    SetCanDos(config.CanDos);
    SetNumInputs(config.NumInputs);
    SetNumOutputs(config.NumOutputs);
    SetInitialDelay(config.InitialDelay);
    SetTailSize(config.TailSize);
    SetIORatio(config.IORatio);
    SetKeysRequired(config.KeysRequired);
    SetNumCategories(config.NumCategories);
    for (const std::string& name : config.Programs)
        AddProgram(name);
    for (const TVSTParameterConfig& p : config.Parameters) {
        TCustomVstParameterProperty& property = AddParameter();
        property.SetDisplayName(p.DisplayName);
        property.SetShortLabel(p.ShortLabel);
        property.Units = p.Units;
        property.Min = p.Min;
        property.Max = p.Max;
        property.CanBeAutomated = p.CanBeAutomated;
    }
}

} // namespace ostinel
