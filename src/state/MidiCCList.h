#pragma once
// MIDI CC assignments: a parameter name and a controller number each, at most one entry per
// name (compared exactly). Part of every stored state. GUI thread only; the audio thread sees
// a resolved table kept by the base module.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ostinel {

struct TMidiCCItem {
    std::int32_t CCNumber = 0;
    std::string ParameterName;
};

class TMidiCCList {
public:
    // Updates the entry of that name in place, or appends one.
    void SetCC(const std::string& name, std::int32_t number);
    [[nodiscard]] int IndexOfName(const std::string& name) const noexcept;
    [[nodiscard]] const TMidiCCItem& GetItem(int index) const; // "Argument out of range"
    [[nodiscard]] int Count() const noexcept { return static_cast<int>(items_.size()); }
    [[nodiscard]] std::span<const TMidiCCItem> Items() const noexcept { return items_; }
    void Clear() noexcept { items_.clear(); }

private:
    std::vector<TMidiCCItem> items_;
};

} // namespace ostinel
