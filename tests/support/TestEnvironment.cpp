// Points the documents folder and the settings store at a fresh temporary folder before any
// plug-in instance exists, so tests never touch the real user's files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

class UserFoldersEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        namespace fs = std::filesystem;
        std::random_device random;
        fRoot = fs::temp_directory_path() / ("ostinel-test-" + std::to_string(random()));
        fs::create_directories(fRoot / "Documents");
        fs::create_directories(fRoot / "config");
#if !defined(_WIN32)
        setenv("HOME", fRoot.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (fRoot / "config").c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", (fRoot / "Documents").c_str(), 1);
#endif
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(fRoot, ignored);
    }

private:
    std::filesystem::path fRoot;
};

const auto* const gEnvironment =
    ::testing::AddGlobalTestEnvironment(new UserFoldersEnvironment); // gtest owns it

} // namespace
