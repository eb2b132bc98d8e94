#pragma once
// Failures of loading or driving the plug-in binary.
#include "common/Error.h"

namespace ostinel::vsthost {

class HostError : public Error {
public:
    using Error::Error;
};

} // namespace ostinel::vsthost
