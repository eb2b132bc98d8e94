#pragma once
// A fresh folder under the system temp folder, removed with everything in it at the end.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "common/Utf.h"

namespace ostinel::test {

class TempFolder {
public:
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        std::random_device random;
        const std::string name =
            "ostinel-test-" + std::to_string(random()) + "-" + std::to_string(counter.fetch_add(1));
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

    // UTF-8 path of `relative` (UTF-8, "/"-separated) inside the folder.
    [[nodiscard]] std::string Utf8(const std::string& relative = {}) const {
        return PathToUtf8(relative.empty() ? path_ : path_ / PathFromUtf8(relative));
    }

    // Creates a file (and its folders) with the given content; UTF-8 relative name.
    void AddFile(const std::string& relative, const std::string& content = "x") const {
        const std::filesystem::path file = path_ / PathFromUtf8(relative);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }

private:
    std::filesystem::path path_;
};

} // namespace ostinel::test
