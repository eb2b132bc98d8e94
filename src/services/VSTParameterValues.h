#pragma once
// The module's named parameter values, the targets of MIDI CC assignments. GUI thread only.
#include <string>
#include <vector>

namespace ostinel {

struct TVSTParameterValue {
    float DefaultValue = 0.0f;
    std::string ParameterName;
    float CurrentValue = 0.0f;
};

// Named parameter values; entry i stands for the module's parameter i. Empty in this plug-in.
class TVSTParameterValues {
public:
    // Index of the entry with that name; throws "TVSTParameterValues.FindByName - No match: "
    // followed by the name.
    [[nodiscard]] int FindByName(const std::string& name) const;
    // -1 instead of an error.
    [[nodiscard]] int IndexOfName(const std::string& name) const noexcept;
    [[nodiscard]] int Count() const noexcept { return static_cast<int>(items_.size()); }
    [[nodiscard]] TVSTParameterValue& GetItem(int index); // "Argument out of range"
    void Add(TVSTParameterValue value) { items_.push_back(std::move(value)); }

private:
    std::vector<TVSTParameterValue> items_;
};

} // namespace ostinel
