#pragma once
// Errors carry the system's own message texts. They are raised and caught on the GUI thread;
// the audio thread has no throwing paths.
#include <stdexcept>
#include <string>

namespace ostinel {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Host-interface failures ("AudioMaster Error").
class EVstError : public Error {
public:
    using Error::Error;
};

inline constexpr const char* kArgumentOutOfRange = "Argument out of range";
inline constexpr const char* kStreamReadError = "Stream read error";
inline constexpr const char* kInvalidPropertyValue = "Invalid property value";
inline constexpr const char* kInvalidStreamFormat = "Invalid stream format";

} // namespace ostinel
