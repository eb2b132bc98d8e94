// `ostinel edit` as a user meets it: the built tool runs as a child process, its window is found
// on the X server by its title, and the test clicks and types with the real pointer and
// keyboard (XTest). Needs an X server: run under xvfb-run; the window tests are skipped without
// DISPLAY. A screenshot of the close question goes to /tmp/ostinel-edit-question.png and one of
// the whole window to /tmp/ostinel-edit-window.png.
#include "graphics/Canvas.h"
#include "graphics/Png.h"
#include "gui/dialogs/MessageDialog.h"
#include "gui/frame/EditorBackground.h"
#include "gui/skins/Skin.h"
#include "gui/widgets/WidgetRoot.h"
#include "preset/PresetState.h"
#include "support/MapEditorPoints.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "support/X11TestDisplay.h" // after gtest: Xlib defines None

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace ostinel::cli::test {
namespace {

namespace fs = std::filesystem;
using gui::Point;
using gui::Rect;

constexpr auto kPatience = std::chrono::seconds(10);

fs::path MakeTempFolder() {
    std::string pattern = (fs::temp_directory_path() / "ostinel-edit-x11-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    return pattern;
}

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string ReadText(const fs::path& path) {
    const std::vector<std::uint8_t> bytes = ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

bool WaitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
}

// The tool as a child process with its output in files; killed if a test leaves it running.
class ToolProcess {
public:
    ToolProcess(const fs::path& folder, const std::vector<std::string>& args)
        : out_(folder / "out.txt"), err_(folder / "err.txt") {
        std::vector<std::string> argv{OSTINEL_TOOL_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        pid_ = fork();
        if (pid_ == 0) {
            const int out = open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, STDOUT_FILENO);
            dup2(err, STDERR_FILENO);
            std::vector<char*> raw;
            for (std::string& a : argv) {
                raw.push_back(a.data());
            }
            raw.push_back(nullptr);
            execv(raw[0], raw.data());
            _exit(127);
        }
    }
    ~ToolProcess() {
        if (pid_ > 0 && !status_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    [[nodiscard]] bool Running() {
        Poll();
        return !status_.has_value();
    }
    // The exit status, or nullopt when it is still running after the wait.
    std::optional<int> WaitExit() {
        WaitFor([this] { return !Running(); });
        return status_;
    }
    [[nodiscard]] std::string Out() const { return ReadText(out_); }
    [[nodiscard]] std::string Err() const { return ReadText(err_); }

private:
    void Poll() {
        if (status_ || pid_ <= 0) {
            return;
        }
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
    }

    fs::path out_;
    fs::path err_;
    pid_t pid_ = -1;
    std::optional<int> status_;
};

class EditCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A home of our own: the plug-in must not load the user's "init" preset or settings.
        setenv("HOME", (folder_ / "home").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (folder_ / "home" / ".config").c_str(), 1);
        setenv("XDG_DATA_HOME", (folder_ / "home" / ".local").c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", (folder_ / "home" / "Documents").c_str(), 1);
        fs::create_directories(folder_ / "home" / "Documents");
        fs::copy_file(fs::path(OSTINEL_EXAMPLES_DIR) / "gm-to-8-pads.quorvatp", preset_);
        original_ = ReadFile(preset_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path folder_ = MakeTempFolder();
    fs::path preset_ = folder_ / "Pads.quorvatp";
    std::vector<std::uint8_t> original_;
};

TEST_F(EditCommandTest, CommandLineAndFileErrorsComeBeforeAnyWindow) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    fs::path notAPreset = folder_ / "notes.quorvatp";
    std::ofstream(notAPreset) << "not a preset";
    const Case cases[] = {
        {"missing file", {"edit", (folder_ / "nothing.quorvatp").string()}, 1, "cannot open"},
        {"not a preset", {"edit", notAPreset.string()}, 1, "notes.quorvatp"},
        {"two files", {"edit", preset_.string(), preset_.string()}, 2, "ostinel edit:"},
        {"unknown option", {"edit", "--fast"}, 2, "--fast"},
        {"output is a folder", {"edit", preset_.string(), "-o", folder_.string()}, 1, "folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolProcess tool(folder_, c.args);
        EXPECT_EQ(tool.WaitExit(), c.status) << tool.Err();
        EXPECT_NE(tool.Err().find(c.message), std::string::npos) << tool.Err();
    }
}

TEST_F(EditCommandTest, WithoutADisplayItSaysSo) {
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display == nullptr ? "" : display;
    unsetenv("DISPLAY");
    ToolProcess tool(folder_, {"edit", preset_.string()});
    const std::optional<int> status = tool.WaitExit();
    if (!saved.empty()) {
        setenv("DISPLAY", saved.c_str(), 1);
    }
    EXPECT_EQ(status, 1);
    EXPECT_NE(tool.Err().find("cannot open display"), std::string::npos) << tool.Err();
}

TEST_F(EditCommandTest, HelpNamesTheSaveRules) {
    ToolProcess tool(folder_, {"edit", "--help"});
    EXPECT_EQ(tool.WaitExit(), 0);
    EXPECT_NE(tool.Out().find("Ctrl+S"), std::string::npos);
    EXPECT_NE(tool.Out().find("--output"), std::string::npos);
}

// ---- With a display ----------------------------------------------------------------------

class EditX11Test : public EditCommandTest {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no X display; run under xvfb-run";
        }
        EditCommandTest::SetUp();
        display_ = ostinel::test::OpenTestDisplay();
        ASSERT_NE(display_, nullptr);
        int event = 0, error = 0, major = 0, minor = 0;
        ASSERT_TRUE(XTestQueryExtension(display_, &event, &error, &major, &minor));
        // The tool's windows come and go while we look at them: a request on one that just
        // went is no failure of the test.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    void TearDown() override {
        tool_.reset();
        if (display_ != nullptr) {
            XCloseDisplay(display_);
        }
        EditCommandTest::TearDown();
    }

    // Starts the tool (on the preset by default) and waits for its window, found by a part of
    // its title, with the editor inside.
    void Start(const std::vector<std::string>& args = {},
               const std::string& titlePart = "Pads.quorvatp") {
        tool_ = std::make_unique<ToolProcess>(
            folder_, args.empty() ? std::vector<std::string>{"edit", preset_.string()} : args);
        ASSERT_TRUE(WaitFor([&] {
            window_ = FindWindow(titlePart);
            XWindowAttributes attributes{};
            return window_ != 0 && Children().size() == 1 &&
                   XGetWindowAttributes(display_, window_, &attributes) != 0 &&
                   attributes.map_state == IsViewable;
        })) << "no window with the editor; the tool said: "
            << tool_->Err();
        XWindowAttributes attributes{};
        XGetWindowAttributes(display_, window_, &attributes);
        width_ = attributes.width;
        height_ = attributes.height;
        // The editor paints through its idle calls; let the first frame arrive.
        ASSERT_TRUE(WaitFor([this] {
            const gui::Image shot = Screenshot(window_);
            return shot.GetPixel(1, 300).r == gui::kEditorBackgroundGround;
        }));
    }

    [[nodiscard]] std::string TitleOf(::Window w) {
        char* name = nullptr;
        std::string title;
        if (XFetchName(display_, w, &name) != 0 && name != nullptr) {
            title = name;
            XFree(name);
        }
        return title;
    }
    [[nodiscard]] std::string Title() { return TitleOf(window_); }

    // A top-level window whose title holds `text`.
    ::Window FindWindow(const std::string& text) {
        for (const ::Window w : ostinel::test::ChildWindows(display_, DefaultRootWindow(display_)))
            if (TitleOf(w).find(text) != std::string::npos)
                return w;
        return 0;
    }

    std::vector<::Window> Children() { return ostinel::test::ChildWindows(display_, window_); }

    gui::Image Screenshot(::Window w) {
        XSync(display_, False);
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display_, w, &attributes) == 0 ||
            attributes.map_state != IsViewable) {
            return gui::Image(1, 1);
        }
        gui::Image shot(std::max(attributes.width, 1), std::max(attributes.height, 1));
        XImage* image = XGetImage(display_, w, 0, 0, static_cast<unsigned>(shot.Width()),
                                  static_cast<unsigned>(shot.Height()), AllPlanes, ZPixmap);
        if (image == nullptr) {
            return shot;
        }
        for (int y = 0; y < shot.Height(); ++y) {
            for (int x = 0; x < shot.Width(); ++x) {
                shot.SetPixel(x, y, gui::Color::Rgb(XGetPixel(image, x, y) & 0xFFFFFF));
            }
        }
        XDestroyImage(image);
        return shot;
    }

    void ClickAt(::Window w, Point p) {
        int x = 0, y = 0;
        ::Window child = 0;
        XTranslateCoordinates(display_, w, DefaultRootWindow(display_), p.x, p.y, &x, &y, &child);
        XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
        XSync(display_, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
        XSync(display_, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }

    void PressCtrlS() {
        const KeyCode control = XKeysymToKeycode(display_, XK_Control_L);
        const KeyCode s = XKeysymToKeycode(display_, XK_s);
        XTestFakeKeyEvent(display_, control, True, CurrentTime);
        XTestFakeKeyEvent(display_, s, True, CurrentTime);
        XTestFakeKeyEvent(display_, s, False, CurrentTime);
        XTestFakeKeyEvent(display_, control, False, CurrentTime);
        XSync(display_, False);
    }

    // What a window manager sends when the user closes the window.
    void RequestClose() { ostinel::test::SendCloseRequest(display_, window_); }

    // Selects channel 10 and flips its switch in the editor; returns the state the file should
    // then hold.
    std::vector<std::uint8_t> EditChannelTen() {
        PresetState expected = ReadPreset(original_);
        const bool wasActive = expected.map->GetItem(9).Active();
        expected.map->SetSelectedChannel(9);
        (*expected.map)[9].SetActive(!wasActive);
        ClickAt(window_, ostinel::test::ChannelButtonCentre(10));
        ClickAt(window_, ostinel::test::ActiveSwitchCentre());
        return WritePreset(expected);
    }

    // The close question: the box window above the editor, and where its buttons are (laid
    // out by the toolkit as the tool lays it out).
    ::Window WaitForQuestion() {
        ::Window box = 0;
        EXPECT_TRUE(WaitFor([&] {
            const std::vector<::Window> children = Children();
            box = children.size() == 2 ? children.back() : 0;
            return box != 0;
        })) << "no question appeared";
        return box;
    }
    // The box as the toolkit draws it in a window of this size, and its buttons' centres.
    struct Question {
        gui::Image image;
        std::vector<Point> buttons; // Yes, No, Cancel
    };
    Question ExpectedQuestion() {
        // Behind the rounded corners the tool fills in the border colour.
        struct CornerFill final : gui::Widget {
            void Paint(gui::Canvas& canvas) override {
                canvas.FillRect(ClientRect(), gui::ActiveSkin().DialogBorder);
            }
        };
        gui::WidgetRoot root(width_, height_);
        root.EmplaceContent<CornerFill>();
        gui::TMessageForm& form = gui::ShowMessageDialog(root, "Save changes to Pads.quorvatp?", "",
                                                         gui::TMsgDlgButtons::YesNoCancel,
                                                         gui::TMsgDlgType::Confirmation);
        const Rect box = form.WindowRect();
        Question question;
        for (std::size_t i = 0; i < form.ButtonCount(); ++i) {
            const Rect button = form.Button(i).RootRect();
            question.buttons.push_back({(button.left + button.right) / 2 - box.left,
                                        (button.top + button.bottom) / 2 - box.top});
        }
        root.Resize(box.Width(), box.Height());
        root.InvalidateAll();
        root.Update();
        question.image = root.Surface();
        return question;
    }
    // Pixels of the expected box that the screen shows otherwise.
    static int Mismatches(const gui::Image& shot, const gui::Image& expected) {
        if (shot.Width() != expected.Width() || shot.Height() != expected.Height()) {
            return expected.Width() * expected.Height();
        }
        int count = 0;
        for (int y = 0; y < expected.Height(); ++y) {
            for (int x = 0; x < expected.Width(); ++x) {
                const gui::Color want = expected.GetPixel(x, y);
                const gui::Color got = shot.GetPixel(x, y);
                if (want.r != got.r || want.g != got.g || want.b != got.b) {
                    ++count;
                }
            }
        }
        return count;
    }

    Display* display_ = nullptr;
    std::unique_ptr<ToolProcess> tool_;
    ::Window window_ = 0;
    int width_ = 0;
    int height_ = 0;
};

TEST_F(EditX11Test, RealClicksAndCtrlSSaveTheNewStateToTheFile) {
    Start();
    EXPECT_EQ(Title(), "Pads.quorvatp - Ostinel");
    gui::SavePng(Screenshot(window_), "/tmp/ostinel-edit-window.png");

    const std::vector<std::uint8_t> expected = EditChannelTen();
    ASSERT_TRUE(WaitFor([this] { return Title() == "Pads.quorvatp* - Ostinel"; }))
        << "the title shows no unsaved mark: " << Title();
    EXPECT_EQ(ReadFile(preset_), original_) << "nothing is written before Ctrl+S";

    PressCtrlS();
    ASSERT_TRUE(WaitFor([&] { return ReadFile(preset_) != original_; }))
        << "Ctrl+S wrote nothing; the tool said: " << tool_->Err();
    EXPECT_EQ(ReadFile(preset_), expected) << "the file holds the edited state, byte for byte";
    EXPECT_TRUE(WaitFor([this] { return Title() == "Pads.quorvatp - Ostinel"; })) << Title();
    EXPECT_FALSE(fs::exists(folder_ / "Pads.quorvatp.partial"));

    // Nothing unsaved: the window closes without asking.
    RequestClose();
    EXPECT_EQ(tool_->WaitExit(), 0) << tool_->Err();
    EXPECT_NE(tool_->Out().find("Saved"), std::string::npos);
}

TEST_F(EditX11Test, WithoutAFileOutputNamesWhereCtrlSWritesANewPreset) {
    const fs::path created = folder_ / "New.quorvatp";
    Start({"edit", "-o", created.string()}, "New.quorvatp");
    EXPECT_EQ(Title(), "New.quorvatp - Ostinel");
    EXPECT_FALSE(fs::exists(created)) << "nothing is written before Ctrl+S";
    PressCtrlS();
    ASSERT_TRUE(WaitFor([&] { return fs::exists(created); })) << tool_->Err();
    // The instance started as in a DAW (no "init" preset in this home): the default map.
    const PresetState saved = ReadPreset(ReadFile(created));
    EXPECT_TRUE(saved.map->Equals(*PresetState().map));
    RequestClose();
    EXPECT_EQ(tool_->WaitExit(), 0) << tool_->Err();
}

TEST_F(EditX11Test, ABankChunkIsLoadedAsABankAndSavedAsOne) {
    PresetState bank = ReadPreset(original_);
    bank.container = Container::Bank;
    const fs::path file = folder_ / "Pads.fxb";
    {
        const std::vector<std::uint8_t> bytes = WritePreset(bank);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    Start({"edit", file.string()}, "Pads.fxb");
    ClickAt(window_, ostinel::test::ChannelButtonCentre(2));
    ASSERT_TRUE(WaitFor([this] { return Title() == "Pads.fxb* - Ostinel"; })) << Title();
    PressCtrlS();
    ASSERT_TRUE(WaitFor([this] { return Title() == "Pads.fxb - Ostinel"; })) << tool_->Err();
    // The file's map came through the load: only the selected channel differs.
    bank.map->SetSelectedChannel(1);
    EXPECT_EQ(ReadFile(file), WritePreset(bank));
    RequestClose();
    EXPECT_EQ(tool_->WaitExit(), 0) << tool_->Err();
}

TEST_F(EditX11Test, ClosingWithUnsavedChangesAsksCancelKeepsEditingNoDiscards) {
    Start();
    (void)EditChannelTen();
    ASSERT_TRUE(WaitFor([this] { return Title().find('*') != std::string::npos; }));

    RequestClose();
    const ::Window box = WaitForQuestion();
    ASSERT_NE(box, 0u);
    // The screen shows the toolkit's box, pixel for pixel, in the middle of the window.
    const Question question = ExpectedQuestion();
    EXPECT_TRUE(WaitFor([&] { return Mismatches(Screenshot(box), question.image) == 0; }))
        << Mismatches(Screenshot(box), question.image) << " pixels differ; see "
        << "/tmp/ostinel-edit-question.png";
    XWindowAttributes placed{};
    XGetWindowAttributes(display_, box, &placed);
    EXPECT_NEAR(placed.x + placed.width / 2, width_ / 2, 1);
    EXPECT_NEAR(placed.y + placed.height / 2, height_ / 2, 1);
    gui::SavePng(Screenshot(box), "/tmp/ostinel-edit-question.png");
    gui::SavePng(Screenshot(window_), "/tmp/ostinel-edit-question-window.png");

    ClickAt(box, question.buttons[2]); // Cancel
    ASSERT_TRUE(WaitFor([this] { return Children().size() == 1; })) << "the box stayed";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(tool_->Running()) << "Cancel keeps the window";

    RequestClose();
    const ::Window again = WaitForQuestion();
    ASSERT_NE(again, 0u);
    ClickAt(again, question.buttons[1]); // No
    EXPECT_EQ(tool_->WaitExit(), 0) << tool_->Err();
    EXPECT_EQ(ReadFile(preset_), original_) << "No writes nothing";
}

TEST_F(EditX11Test, YesInTheCloseQuestionSavesAndCloses) {
    Start();
    const std::vector<std::uint8_t> expected = EditChannelTen();
    ASSERT_TRUE(WaitFor([this] { return Title().find('*') != std::string::npos; }));
    RequestClose();
    const ::Window box = WaitForQuestion();
    ASSERT_NE(box, 0u);
    ClickAt(box, ExpectedQuestion().buttons[0]); // Yes
    EXPECT_EQ(tool_->WaitExit(), 0) << tool_->Err();
    EXPECT_EQ(ReadFile(preset_), expected);
}

} // namespace
} // namespace ostinel::cli::test
