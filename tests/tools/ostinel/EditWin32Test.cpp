// `ostinel edit` on Windows (under wine in CI): the built ostinel.exe runs as a child process
// with Ostinel.dll beside it; the test finds its window by class and title, clicks into the
// plug-in's editor and into the close question with posted mouse messages, and closes it as the
// system menu does (WM_CLOSE).
#include "gui/dialogs/MessageDialog.h"
#include "gui/widgets/WidgetRoot.h"
#include "preset/PresetState.h"
#include "support/MapEditorPoints.h"

#include "common/Utf.h"

#include <gtest/gtest.h>

#include "common/win32/WinApi.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

namespace ostinel::cli::test {
namespace {

namespace fs = std::filesystem;
using gui::Point;
using gui::Rect;

constexpr wchar_t kWindowClass[] = L"OstinelTopLevelWindow";

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool WaitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
}

std::wstring Quote(const std::wstring& arg) {
    return L"\"" + arg + L"\"";
}

class EditWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("ostinel-edit-win32-" + std::to_string(::GetCurrentProcessId()));
        fs::create_directories(folder_);
        preset_ = folder_ / "Pads.quorvatp";
        fs::copy_file(PathFromUtf8(OSTINEL_EXAMPLES_DIR) / "gm-to-8-pads.quorvatp", preset_,
                      fs::copy_options::overwrite_existing);
        original_ = ReadFile(preset_);
    }
    void TearDown() override {
        if (process_.hProcess != nullptr) {
            if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                ::TerminateProcess(process_.hProcess, 99);
                ::WaitForSingleObject(process_.hProcess, 5000);
            }
            ::CloseHandle(process_.hThread);
            ::CloseHandle(process_.hProcess);
        }
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    void Start() {
        const fs::path tool = PathFromUtf8(OSTINEL_TOOL_PATH);
        std::wstring command = Quote(tool.wstring()) + L" edit " + Quote(preset_.wstring());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        ASSERT_NE(::CreateProcessW(tool.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &startup, &process_),
                  0);
        ASSERT_TRUE(WaitFor([this] {
            window_ = ::FindWindowW(kWindowClass, L"Pads.quorvatp - Ostinel");
            return window_ != nullptr && ::GetWindow(window_, GW_CHILD) != nullptr;
        })) << "no window with the editor";
        editor_ = ::GetWindow(window_, GW_CHILD);
        RECT client{};
        ::GetClientRect(window_, &client);
        width_ = client.right;
        height_ = client.bottom;
    }

    std::wstring Title() const {
        wchar_t text[256] = {};
        ::GetWindowTextW(window_, text, 256);
        return text;
    }
    std::optional<DWORD> ExitCode() {
        if (::WaitForSingleObject(process_.hProcess, 15000) != WAIT_OBJECT_0) {
            return std::nullopt;
        }
        DWORD code = 0;
        ::GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

    static void Click(HWND hwnd, Point p) {
        const LPARAM at = MAKELPARAM(p.x, p.y);
        ::PostMessageW(hwnd, WM_MOUSEMOVE, 0, at);
        ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }

    // Selects channel 10 and flips its switch; returns what the file should then hold.
    std::vector<std::uint8_t> EditChannelTen() {
        PresetState expected = ReadPreset(original_);
        const bool wasActive = expected.map->GetItem(9).Active();
        expected.map->SetSelectedChannel(9);
        (*expected.map)[9].SetActive(!wasActive);
        Click(editor_, ostinel::test::ChannelButtonCentre(10));
        Click(editor_, ostinel::test::ActiveSwitchCentre());
        return WritePreset(expected);
    }

    // The close question's window (the child above the editor) once it is there.
    HWND WaitForQuestion() {
        HWND box = nullptr;
        EXPECT_TRUE(WaitFor([&] {
            box = ::GetWindow(window_, GW_CHILD);
            return box != nullptr && box != editor_;
        })) << "no question appeared";
        return box;
    }
    Point ButtonCentre(std::size_t index) {
        gui::WidgetRoot root(width_, height_);
        gui::TMessageForm& form = gui::ShowMessageDialog(root, "Save changes to Pads.quorvatp?", "",
                                                         gui::TMsgDlgButtons::YesNoCancel,
                                                         gui::TMsgDlgType::Confirmation);
        const Rect box = form.WindowRect();
        const Rect button = form.Button(index).RootRect();
        return {(button.left + button.right) / 2 - box.left,
                (button.top + button.bottom) / 2 - box.top};
    }

    fs::path folder_;
    fs::path preset_;
    std::vector<std::uint8_t> original_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    HWND editor_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

TEST_F(EditWin32Test, ClosingWithoutChangesEndsAtOnce) {
    Start();
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCode(), 0u);
    EXPECT_EQ(ReadFile(preset_), original_);
}

TEST_F(EditWin32Test, ClicksMarkTheTitleCancelKeepsEditingYesSaves) {
    Start();
    const std::vector<std::uint8_t> expected = EditChannelTen();
    ASSERT_TRUE(WaitFor([this] { return Title() == L"Pads.quorvatp* - Ostinel"; }))
        << "the clicks did not reach the editor";

    ::PostMessageW(window_, WM_CLOSE, 0, 0);
    HWND box = WaitForQuestion();
    ASSERT_NE(box, nullptr);
    Click(box, ButtonCentre(2)); // Cancel
    ASSERT_TRUE(WaitFor([&] { return ::IsWindow(box) == FALSE; })) << "the box stayed";
    EXPECT_EQ(::WaitForSingleObject(process_.hProcess, 300), static_cast<DWORD>(WAIT_TIMEOUT))
        << "Cancel keeps the window";
    EXPECT_EQ(ReadFile(preset_), original_);

    ::PostMessageW(window_, WM_CLOSE, 0, 0);
    box = WaitForQuestion();
    ASSERT_NE(box, nullptr);
    Click(box, ButtonCentre(0)); // Yes
    EXPECT_EQ(ExitCode(), 0u);
    EXPECT_EQ(ReadFile(preset_), expected) << "Yes saved the edited state, byte for byte";
}

TEST_F(EditWin32Test, NoClosesWithoutSaving) {
    Start();
    (void)EditChannelTen();
    ASSERT_TRUE(WaitFor([this] { return Title() == L"Pads.quorvatp* - Ostinel"; }));
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
    HWND box = WaitForQuestion();
    ASSERT_NE(box, nullptr);
    Click(box, ButtonCentre(1)); // No
    EXPECT_EQ(ExitCode(), 0u);
    EXPECT_EQ(ReadFile(preset_), original_);
}

} // namespace
} // namespace ostinel::cli::test
