#include "services/QelMidiCC.h"

#include "common/Error.h"

namespace ostinel {

void TMidiCCList::SetCC(const std::string& name, std::int32_t number) {
    int index = IndexOfName(name);
    if (index < 0) {
        fItems.push_back({0, name});
        index = Count() - 1;
    }
    fItems[static_cast<std::size_t>(index)].CCNumber = number;
}

int TMidiCCList::IndexOfName(const std::string& name) const noexcept {
    for (std::size_t i = 0; i < fItems.size(); ++i)
        if (fItems[i].ParameterName == name)
            return static_cast<int>(i);
    return -1;
}

const TMidiCCItem& TMidiCCList::GetItem(int index) const {
    if (index < 0 || index >= Count())
        throw Error(kArgumentOutOfRange);
    return fItems[static_cast<std::size_t>(index)];
}

int TVSTParameterValues::IndexOfName(const std::string& name) const noexcept {
    for (std::size_t i = 0; i < fItems.size(); ++i)
        if (fItems[i].ParameterName == name)
            return static_cast<int>(i);
    return -1;
}

int TVSTParameterValues::FindByName(const std::string& name) const {
    const int index = IndexOfName(name);
    if (index < 0)
        throw Error("TVSTParameterValues.FindByName - No match: " + name);
    return index;
}

TVSTParameterValue& TVSTParameterValues::GetItem(int index) {
    if (index < 0 || index >= Count())
        throw Error(kArgumentOutOfRange);
    return fItems[static_cast<std::size_t>(index)];
}

} // namespace ostinel
