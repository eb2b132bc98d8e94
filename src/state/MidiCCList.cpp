#include "state/MidiCCList.h"

#include "common/Error.h"

namespace ostinel {

void TMidiCCList::SetCC(const std::string& name, std::int32_t number) {
    int index = IndexOfName(name);
    if (index < 0) {
        items_.push_back({0, name});
        index = Count() - 1;
    }
    items_[static_cast<std::size_t>(index)].CCNumber = number;
}

int TMidiCCList::IndexOfName(const std::string& name) const noexcept {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].ParameterName == name)
            return static_cast<int>(i);
    return -1;
}

const TMidiCCItem& TMidiCCList::GetItem(int index) const {
    if (index < 0 || index >= Count())
        throw Error(kArgumentOutOfRange);
    return items_[static_cast<std::size_t>(index)];
}

} // namespace ostinel
