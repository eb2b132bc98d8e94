#pragma once
// Fresh user folders for each test: the test environment (TestEnvironment.cpp) points the
// documents and settings folders into a temporary folder; this empties what an instance wrote
// there (settings, presets, Scales.txt and Input.txt).
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace ostinel::test {

inline void ClearUserFolders() {
    for (const char* variable : {"XDG_DOCUMENTS_DIR", "XDG_CONFIG_HOME"}) {
        const char* dir = std::getenv(variable);
        if (dir == nullptr)
            continue;
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(dir) / "Quorvat", ignored);
    }
}

} // namespace ostinel::test
