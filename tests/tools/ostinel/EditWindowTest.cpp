// The standalone editor's rules without a display or a plug-in binary: the unsaved mark, saving
// (temporary file and rename, errors keep the old file), and closing with the question, on the
// headless platform with a plug-in stand-in whose state the test changes.
#include "edit/EditWindow.h"
#include "edit/EditDocument.h"
#include "gui/controls/Label.h"
#include "platform/headless/HeadlessPlatform.h"
#include "preset/PresetState.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace ostinel::edit {
namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder() {
        static int count = 0;
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        for (;;) {
            path_ = fs::temp_directory_path() /
                    ("ostinel-edit-" + std::to_string(stamp) + "-" + std::to_string(count++));
            if (fs::create_directory(path_)) {
                break;
            }
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    [[nodiscard]] fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

std::vector<std::uint8_t> Read(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void Write(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// A real state (the default map as a preset chunk) and the same with another name.
std::vector<std::uint8_t> StateNamed(const std::string& name) {
    cli::PresetState state;
    state.name = name;
    return cli::WritePreset(state);
}

class FakePlugin final : public IEditedPlugin {
public:
    std::optional<EditorSize> EditorRect() override { return EditorSize{400, 300}; }
    void OpenEditor(void* parent) override {
        parent_ = parent;
        ++opens;
    }
    void IdleEditor() override { ++idles; }
    void CloseEditor() override { ++closes; }
    std::vector<std::uint8_t> State() override { return state; }

    std::vector<std::uint8_t> state = StateNamed("loaded");
    void* parent_ = nullptr;
    int opens = 0;
    int idles = 0;
    int closes = 0;
};

class EditDocumentTest : public ::testing::Test {
protected:
    EditDocument MakeDocument(std::optional<fs::path> file,
                              cli::Container container = cli::Container::Preset) {
        EditDocument document(std::move(file), container, [this] { return plugin_.State(); });
        document.MarkSaved();
        return document;
    }

    TempFolder folder_;
    FakePlugin plugin_;
};

TEST_F(EditDocumentTest, UnsavedMarkFollowsTheStateBytes) {
    EditDocument document = MakeDocument(folder_ / "Drums.quorvatp");
    EXPECT_FALSE(document.Dirty());
    EXPECT_EQ(document.Title(), "Drums.quorvatp - Ostinel");
    EXPECT_EQ(document.QuestionText(), "Save changes to Drums.quorvatp?");

    plugin_.state = StateNamed("edited");
    EXPECT_TRUE(document.Refresh()) << "the mark changed";
    EXPECT_TRUE(document.Dirty());
    EXPECT_EQ(document.Title(), "Drums.quorvatp* - Ostinel");
    EXPECT_FALSE(document.Refresh()) << "still unsaved: no change of the mark";

    // Back to the loaded bytes: nothing to save any more.
    plugin_.state = StateNamed("loaded");
    EXPECT_TRUE(document.Refresh());
    EXPECT_FALSE(document.Dirty());
}

TEST_F(EditDocumentTest, SaveWritesTheStateAndKeepsTheOldFileWhenItFails) {
    const fs::path file = folder_ / "Drums.quorvatp";
    Write(file, StateNamed("loaded"));
    EditDocument document = MakeDocument(file);
    plugin_.state = StateNamed("edited");
    ASSERT_TRUE(document.Refresh());

    EXPECT_EQ(document.Save(), std::nullopt);
    EXPECT_EQ(Read(file), StateNamed("edited"));
    EXPECT_FALSE(document.Dirty());
    EXPECT_FALSE(fs::exists(folder_ / "Drums.quorvatp.partial")) << "no temporary file left";

    // The temporary name is taken by a folder: the save fails, the file keeps the last save.
    plugin_.state = StateNamed("again");
    fs::create_directories(folder_ / "Drums.quorvatp.partial" / "x");
    const std::optional<std::string> error = document.Save();
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("Cannot save"), std::string::npos) << *error;
    EXPECT_NE(error->find("Drums.quorvatp"), std::string::npos) << *error;
    EXPECT_EQ(Read(file), StateNamed("edited"));
    EXPECT_TRUE(document.Dirty()) << "still unsaved";
}

TEST_F(EditDocumentTest, ABankChunkIsSavedAsABankChunk) {
    const fs::path file = folder_ / "Bank.fxb";
    EditDocument document = MakeDocument(file, cli::Container::Bank);
    plugin_.state = StateNamed("edited");
    ASSERT_EQ(document.Save(), std::nullopt);
    const cli::PresetState saved = cli::ReadPreset(Read(file));
    EXPECT_EQ(saved.container, cli::Container::Bank);
    EXPECT_EQ(saved.name, "edited");
}

TEST_F(EditDocumentTest, TheFilesPresetNameIsKeptWhileTheStateHasNone) {
    struct Case {
        const char* stateName;
        const char* savedName;
    };
    // The plug-in forgets the name of a preset loaded from outside its folder; a name chosen
    // in the editor (Load Preset, Save Preset) wins.
    const Case cases[] = {{"", "GM to 8 pads"}, {"Drums Ten", "Drums Ten"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stateName);
        const fs::path file = folder_ / "Named.quorvatp";
        EditDocument document = MakeDocument(file);
        document.KeepPresetName("GM to 8 pads");
        plugin_.state = StateNamed(c.stateName);
        ASSERT_EQ(document.Save(), std::nullopt);
        EXPECT_EQ(Read(file), StateNamed(c.savedName));
    }
}

TEST_F(EditDocumentTest, WithoutAFileNothingIsSavedAndClosingDoesNotAsk) {
    EditDocument document = MakeDocument(std::nullopt);
    plugin_.state = StateNamed("edited");
    document.Refresh();
    EXPECT_EQ(document.Title(), "(no file) - Ostinel");
    const std::optional<std::string> error = document.Save();
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("--output"), std::string::npos) << *error;
    EXPECT_EQ(document.RequestClose().step, CloseOutcome::Step::Close);
}

TEST_F(EditDocumentTest, ClosingAsksOnlyWithUnsavedChangesAndFollowsTheAnswer) {
    using Step = CloseOutcome::Step;
    struct Case {
        const char* name;
        bool edited;
        std::optional<CloseAnswer> answer;
        Step expected;
        bool fileWritten;
    };
    const Case cases[] = {
        {"unchanged closes at once", false, std::nullopt, Step::Close, false},
        {"Yes saves and closes", true, CloseAnswer::Yes, Step::Close, true},
        {"No closes without saving", true, CloseAnswer::No, Step::Close, false},
        {"Cancel keeps editing", true, CloseAnswer::Cancel, Step::Stay, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = folder_ / "Close.quorvatp";
        Write(file, StateNamed("loaded"));
        plugin_.state = StateNamed("loaded");
        EditDocument document = MakeDocument(file);
        if (c.edited) {
            plugin_.state = StateNamed("edited");
        }
        CloseOutcome outcome = document.RequestClose();
        if (c.answer) {
            ASSERT_EQ(outcome.step, Step::Ask);
            outcome = document.Answer(*c.answer);
        }
        EXPECT_EQ(outcome.step, c.expected);
        EXPECT_TRUE(outcome.error.empty());
        EXPECT_EQ(Read(file), StateNamed(c.fileWritten ? "edited" : "loaded"));
    }
}

TEST_F(EditDocumentTest, YesWithAFailingSaveKeepsTheWindowAndSaysWhy) {
    const fs::path file = folder_ / "missing-folder" / "Drums.quorvatp";
    EditDocument document = MakeDocument(file);
    plugin_.state = StateNamed("edited");
    ASSERT_EQ(document.RequestClose().step, CloseOutcome::Step::Ask);
    const CloseOutcome outcome = document.Answer(CloseAnswer::Yes);
    EXPECT_EQ(outcome.step, CloseOutcome::Step::Stay);
    EXPECT_NE(outcome.error.find("Cannot save"), std::string::npos) << outcome.error;
    EXPECT_FALSE(fs::exists(file));
}

// ---- The window, on the headless platform -------------------------------------------------

class EditWindowTest : public EditDocumentTest {
protected:
    void SetUp() override {
        Write(file_, StateNamed("loaded"));
        document_.MarkSaved();
        window_.Open();
    }

    platform::HeadlessTopLevelWindow& TopLevel() {
        return static_cast<platform::HeadlessTopLevelWindow&>(window_.Window());
    }
    bool PressCtrlS() {
        return TopLevel().PressKey(platform::Key::LetterA + ('S' - 'A'), {.ctrl = true});
    }
    // Presses button `index` of the box on screen (Yes 0, No 1, Cancel 2) and lets the loop
    // see the answer.
    void Answer(std::size_t index) {
        ASSERT_NE(window_.Box(), nullptr);
        ASSERT_NE(window_.Box()->Form(), nullptr);
        window_.Box()->Form()->Button(index).Click();
        window_.Step();
    }

    fs::path file_ = folder_ / "Song.quorvatp";
    EditDocument document_{file_, cli::Container::Preset, [this] { return plugin_.State(); }};
    std::ostringstream log_;
    EditWindow window_{plugin_, document_, log_, std::chrono::milliseconds(0)};
};

TEST_F(EditWindowTest, OpensTheEditorInTheWindowAndKeepsItIdle) {
    EXPECT_EQ(plugin_.opens, 1);
    EXPECT_EQ(plugin_.parent_, window_.Window().NativeHandle());
    EXPECT_EQ(window_.Window().ClientWidth(), 400);
    EXPECT_EQ(window_.Window().ClientHeight(), 300);
    EXPECT_TRUE(TopLevel().Shown());
    window_.Step();
    window_.Step();
    EXPECT_EQ(plugin_.idles, 2);
    EXPECT_EQ(window_.Window().Title(), "Song.quorvatp - Ostinel");
}

TEST_F(EditWindowTest, TheTitleMarksUnsavedChangesAndCtrlSSavesThem) {
    plugin_.state = StateNamed("edited");
    window_.Step();
    EXPECT_EQ(window_.Window().Title(), "Song.quorvatp* - Ostinel");

    EXPECT_FALSE(TopLevel().PressKey(platform::Key::LetterA + ('S' - 'A')))
        << "S alone is no shortcut";
    ASSERT_TRUE(PressCtrlS());
    EXPECT_EQ(Read(file_), StateNamed("edited"));
    EXPECT_EQ(window_.Window().Title(), "Song.quorvatp - Ostinel");
    EXPECT_NE(log_.str().find("Saved"), std::string::npos);
    EXPECT_EQ(window_.Box(), nullptr);
}

TEST_F(EditWindowTest, AFailedSaveIsShownInABoxAndTheOldFileStays) {
    plugin_.state = StateNamed("edited");
    fs::create_directories(folder_ / "Song.quorvatp.partial" / "x");
    ASSERT_TRUE(PressCtrlS());
    ASSERT_NE(window_.Box(), nullptr);
    ASSERT_NE(window_.Box()->Form(), nullptr);
    EXPECT_NE(window_.Box()->Form()->Message().Caption().find("Cannot save"), std::string::npos);
    EXPECT_EQ(Read(file_), StateNamed("loaded"));
    EXPECT_EQ(window_.Window().Title(), "Song.quorvatp* - Ostinel");
    Answer(0); // OK
    EXPECT_EQ(window_.Box(), nullptr);
    EXPECT_FALSE(window_.Finished());
}

TEST_F(EditWindowTest, ClosingWithoutChangesClosesAtOnce) {
    TopLevel().RequestClose();
    EXPECT_TRUE(window_.Finished());
    EXPECT_EQ(window_.Box(), nullptr);
    EXPECT_EQ(plugin_.closes, 1) << "effEditClose before the window goes";
}

TEST_F(EditWindowTest, ClosingWithChangesAsksAndFollowsTheAnswer) {
    struct Case {
        const char* name;
        std::size_t button;
        bool finished;
        const char* fileState;
    };
    const Case cases[] = {
        {"Cancel keeps editing", 2, false, "loaded"},
        {"No closes without saving", 1, true, "loaded"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        plugin_.state = StateNamed("edited");
        TopLevel().RequestClose();
        ASSERT_NE(window_.Box(), nullptr);
        EXPECT_EQ(window_.Box()->Form()->Message().Caption(), "Save changes to Song.quorvatp?");
        EXPECT_EQ(window_.Box()->Form()->ButtonCount(), 3u);
        // The box sits in the middle of the window, above the editor.
        const gui::Rect placed = TopLevel().ChildBounds(window_.Box()->Window().NativeHandle());
        EXPECT_FALSE(placed.IsEmpty());
        EXPECT_NEAR(placed.left + placed.Width() / 2, 200, 1);
        EXPECT_NEAR(placed.top + placed.Height() / 2, 150, 1);
        TopLevel().RequestClose(); // a second request while asking changes nothing
        Answer(c.button);
        EXPECT_EQ(window_.Finished(), c.finished);
        EXPECT_EQ(window_.Box(), nullptr);
        EXPECT_EQ(Read(file_), StateNamed(c.fileState));
    }
}

TEST_F(EditWindowTest, YesSavesAndCloses) {
    plugin_.state = StateNamed("edited");
    TopLevel().RequestClose();
    Answer(0);
    EXPECT_TRUE(window_.Finished());
    EXPECT_EQ(Read(file_), StateNamed("edited"));
}

TEST_F(EditWindowTest, YesWithAFailedSaveKeepsTheWindowAndShowsWhy) {
    plugin_.state = StateNamed("edited");
    fs::create_directories(folder_ / "Song.quorvatp.partial" / "x");
    TopLevel().RequestClose();
    Answer(0);
    EXPECT_FALSE(window_.Finished());
    ASSERT_NE(window_.Box(), nullptr);
    EXPECT_EQ(window_.Box()->Form()->ButtonCount(), 1u) << "the error, with OK";
    EXPECT_EQ(Read(file_), StateNamed("loaded"));
}

TEST_F(EditWindowTest, AWindowDestroyedFromOutsideEndsTheLoop) {
    TopLevel().DestroyFromOutside();
    window_.Step();
    EXPECT_TRUE(window_.Finished());
    EXPECT_EQ(plugin_.closes, 1);
}

} // namespace
} // namespace ostinel::edit
