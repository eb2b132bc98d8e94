#pragma once
// MIDI CC assignments: a parameter name and a controller number each, at most one entry per
// name (compared exactly). Part of every stored state. GUI thread only; the audio thread sees
// a resolved table kept by the base module.
#include <cstdint>
#include <string>
#include <vector>

namespace ostinel {

struct TMidiCCItem {
    std::int32_t CCNumber = 0;
    std::string ParameterName;
};

class TMidiCCList {
public:
    void SetCC(const std::string& name, std::int32_t number);
    [[nodiscard]] int IndexOfName(const std::string& name) const noexcept;
    [[nodiscard]] const TMidiCCItem& GetItem(int index) const; // "Argument out of range"
    [[nodiscard]] int Count() const noexcept { return static_cast<int>(fItems.size()); }
    void Clear() noexcept { fItems.clear(); }

private:
    std::vector<TMidiCCItem> fItems;
};

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
    [[nodiscard]] int Count() const noexcept { return static_cast<int>(fItems.size()); }
    [[nodiscard]] TVSTParameterValue& GetItem(int index); // "Argument out of range"
    void Add(TVSTParameterValue value) { fItems.push_back(std::move(value)); }

private:
    std::vector<TVSTParameterValue> fItems;
};

} // namespace ostinel
