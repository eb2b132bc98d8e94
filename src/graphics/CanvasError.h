#pragma once
#include "common/Error.h"

namespace ostinel::gui {

// Bad sizes, undecodable images, unwritable files and misuse of the clip stack.
class CanvasError : public Error {
public:
    using Error::Error;
};

} // namespace ostinel::gui
