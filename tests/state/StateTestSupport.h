#pragma once
// Helpers shared by the state tests: byte literals and error-message checks.
#include "common/Error.h"
#include "state/MemoryStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace ostinel::test {

using Bytes = std::vector<uint8_t>;

inline Bytes B(std::initializer_list<int> values) {
    Bytes out;
    for (const int v : values) {
        out.push_back(static_cast<uint8_t>(v));
    }
    return out;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

inline Bytes Ascii(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

inline Bytes StreamBytes(const TMemoryStream& stream) {
    return Bytes(stream.Bytes().begin(), stream.Bytes().end());
}

inline TMemoryStream StreamOf(const Bytes& bytes) {
    TMemoryStream stream;
    stream.Write(bytes.data(), bytes.size());
    stream.SetPosition(0);
    return stream;
}

// The message of the ostinel::Error thrown by fn, or "<no error>".
inline std::string ErrorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const Error& e) {
        return e.what();
    }
    return "<no error>";
}

} // namespace ostinel::test
