#include "services/VSTParameterValues.h"

#include "common/Error.h"

namespace ostinel {

int TVSTParameterValues::IndexOfName(const std::string& name) const noexcept {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].ParameterName == name)
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
    return items_[static_cast<std::size_t>(index)];
}

} // namespace ostinel
