// Preset file names made valid, and the replacing write that never loses the old file.
#include "editor/menu/PresetFile.h"
#include "common/Error.h"
#include "common/Utf.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace ostinel {
namespace {

namespace fs = std::filesystem;

TEST(MakePresetFileName, CleansTrimsAndAvoidsNamesWindowsRefuses) {
    const std::pair<std::string, std::string> cases[] = {
        {"Bass Line", "Bass Line"},
        {"  Bass/Lead:1  ", "Bass_Lead_1"},
        {"a\\b*c?d\"e<f>g|h", "a_b_c_d_e_f_g_h"},
        {"\tTab\t", "Tab"},
        {"x\x01y", "x_y"},
        {"", ""},
        {"   ", ""},
        {"CON", "CON_"},
        {"con", "con_"},
        {"Prn.txt", "Prn_.txt"},
        {"AUX.a.b", "AUX_.a.b"},
        {"NUL .x", "NUL_ .x"},
        {"COM1", "COM1_"},
        {"lpt9.mid", "lpt9_.mid"},
        {"COM\xC2\xB9", "COM\xC2\xB9_"},
        {"CONIN$", "CONIN$_"},
        {"COM0", "COM0"},
        {"COM10", "COM10"},
        {"CONSOLE", "CONSOLE"},
        {"Console.con", "Console.con"},
        {"Intro.", "Intro._"},
        {"...", "..._"},
        {"Gr\xC3\xB6\xC3\x9F"
         "e",
         "Gr\xC3\xB6\xC3\x9F"
         "e"},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(MakePresetFileName(typed), expected) << typed;
}

class WriteFileReplacingTest : public ::testing::Test {
protected:
    WriteFileReplacingTest() {
        std::random_device random;
        folder_ = fs::temp_directory_path() / ("ostinel-presetfile-" + std::to_string(random()));
        fs::create_directories(folder_);
    }
    ~WriteFileReplacingTest() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    // Paths are UTF-8 here as in the product (std::string paths mean the ANSI code page on
    // Windows).
    [[nodiscard]] std::string Path(const std::string& name) const {
        return PathToUtf8(folder_ / PathFromUtf8(name));
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(PathFromUtf8(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    [[nodiscard]] std::size_t Entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
};

TEST_F(WriteFileReplacingTest, CreatesAndReplacesWithoutLeftovers) {
    const std::string path = Path("Gr\xC3\xB6\xC3\x9F"
                                  "e.quorvatp");
    WriteFileReplacing(path, {'a', 'b', 'c'});
    EXPECT_EQ(Read(path), "abc");
    WriteFileReplacing(path, {'x'});
    EXPECT_EQ(Read(path), "x");
    WriteFileReplacing(path, {});
    EXPECT_EQ(Read(path), "");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(WriteFileReplacingTest, FailuresNameTheFileAndLeaveNothingBehind) {
    fs::create_directories(folder_ / "Dir.quorvatp");
    try {
        WriteFileReplacing(Path("Dir.quorvatp"), {'a'});
        FAIL() << "a folder cannot be replaced";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Dir.quorvatp"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::is_directory(folder_ / "Dir.quorvatp"));
    EXPECT_EQ(Entries(), 1u);

    EXPECT_THROW(WriteFileReplacing(Path("missing/x.quorvatp"), {'a'}), Error);
    EXPECT_EQ(Entries(), 1u);
}

} // namespace
} // namespace ostinel
