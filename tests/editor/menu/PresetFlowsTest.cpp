// Saving the state as a preset and loading a preset chosen in the browser, from the menu.
#include "editor/menu/MenuFixture.h"
#include "gui/controls/ListBox.h"

#include <set>

#if !defined(_WIN32)
#include <csignal>
#include <sys/resource.h>
#endif

namespace ostinel::test {
namespace {

using gui::TModalResult;

class FlowsTest : public MenuTest {
protected:
    // The names of everything in the presets folder.
    [[nodiscard]] std::set<std::string> FolderContents() const {
        std::set<std::string> names;
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(PresetsFolder(), ignored))
            names.insert(entry.path().filename().string());
        return names;
    }
    [[nodiscard]] std::string CurrentChunk() {
        const std::vector<std::uint8_t> bytes = instance->GetChunk(true);
        return {bytes.begin(), bytes.end()};
    }
    bool ChannelActive(int channel) { return module->Mapping().GetItem(channel).Active(); }
    // Opens the browser, clicks the entry `name` and then OK.
    void LoadFromBrowser(const std::string& name) {
        Click(form->btnPresets());
        gui::TfrmPresets* browser = Browser();
        ASSERT_NE(browser, nullptr);
        gui::TListBox& list = browser->lstPresets();
        for (int i = 0; i < list.Count(); ++i) {
            if (list.ItemText(i) == name) {
                Click(list.ToRoot(Centre(list.ItemRect(i))));
                Click(browser->btnOK());
                return;
            }
        }
        FAIL() << name << " not listed";
    }
};

TEST_F(FlowsTest, SavePromptsWithTheCurrentNameAndCancelDoesNothing) {
    module->SetPresetName("Lead");
    Choose("ddmMenu_SavePreset");
    gui::TfrmInputDlg* prompt = Prompt();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->Caption(), "Save Preset");
    EXPECT_EQ(prompt->lblPrompt.Caption(), "Name");
    EXPECT_EQ(prompt->txtValue.Text(), "Lead");
    EXPECT_EQ(prompt->txtValue.MaxLength(), 50);
    Click(prompt->btnCancel);
    EXPECT_EQ(root->TopOverlay(), nullptr);
    EXPECT_FALSE(fs::exists(PresetsFolder()));
}

TEST_F(FlowsTest, SaveWritesTheStateUnderTheCleanedName) {
    module->Mapping().GetItem(2).SetActive(false);
    const int before = Automations();
    SaveAs("  Bass/Lead:1  ");
    EXPECT_EQ(root->TopOverlay(), nullptr) << BoxText();
    EXPECT_EQ(module->PresetName(), "Bass_Lead_1");
    EXPECT_EQ(form->btnPresets().Caption(), "Bass_Lead_1");
    EXPECT_EQ(FolderContents(), (std::set<std::string>{"Bass_Lead_1.quorvatp"}));
    EXPECT_EQ(ReadBytes(PresetFile("Bass_Lead_1")), CurrentChunk()) << "the host's chunk bytes";
    EXPECT_GT(Automations(), before) << "the host hears of the change";
}

TEST_F(FlowsTest, NamesThatAreNoValidFileNamesAreMadeValid) {
    struct Case {
        std::string typed;
        std::string name;
    };
    const Case cases[] = {
        {"CON", "CON_"},
        {"lpt1.mid", "lpt1_.mid"},
        {" Nul ", "Nul_"},
        {"Intro.", "Intro._"},
        {"a*b?c", "a_b_c"},
        {"Gr\xC3\xB6\xC3\x9F"
         "e \xE2\x99\xAA Bass",
         "Gr\xC3\xB6\xC3\x9F"
         "e \xE2\x99\xAA Bass"},
    };
    for (const Case& c : cases) {
        SaveAs(c.typed);
        EXPECT_EQ(root->TopOverlay(), nullptr) << c.typed << ": " << BoxText();
        EXPECT_EQ(module->PresetName(), c.name) << c.typed;
        EXPECT_TRUE(fs::is_regular_file(PresetFile(c.name))) << c.typed;
    }
    EXPECT_EQ(FolderContents().size(), std::size(cases)) << "nothing else, no temporary files";

    // The non-ASCII one is listed and loads back.
    module->SetPresetName("");
    LoadFromBrowser("Gr\xC3\xB6\xC3\x9F"
                    "e \xE2\x99\xAA Bass");
    EXPECT_EQ(module->PresetName(), "Gr\xC3\xB6\xC3\x9F"
                                    "e \xE2\x99\xAA Bass");
    EXPECT_EQ(root->TopOverlay(), nullptr) << BoxText();
}

TEST_F(FlowsTest, OverwriteAsksAndNoKeepsTheOldFileAndName) {
    WriteBytes(PresetFile("Lead"), "old");
    module->SetPresetName("Other");
    SaveAs("Lead");
    EXPECT_EQ(BoxText(), "Overwrite existing preset?");
    EXPECT_EQ(BoxCaption(), "Preset Exists");
    EXPECT_EQ(BoxKind(), gui::TMsgDlgType::Confirmation);
    Answer(TModalResult::No);
    EXPECT_EQ(ReadBytes(PresetFile("Lead")), "old");
    EXPECT_EQ(module->PresetName(), "Other");

    SaveAs("Lead");
    Answer(TModalResult::Yes);
    EXPECT_EQ(module->PresetName(), "Lead");
    EXPECT_EQ(ReadBytes(PresetFile("Lead")), CurrentChunk());
    EXPECT_EQ(FolderContents(), (std::set<std::string>{"Lead.quorvatp"}));
}

TEST_F(FlowsTest, EmptyNameWritesNothingAndClearsTheName) {
    SaveAs("   ");
    EXPECT_FALSE(fs::exists(PresetsFolder()));
    const int before = Automations();
    SaveAs("");
    EXPECT_EQ(Automations(), before) << "no name before, none after: no change";

    module->SetPresetName("Lead");
    SaveAs("  ");
    EXPECT_EQ(module->PresetName(), "");
    EXPECT_EQ(form->btnPresets().Caption(), "-");
    EXPECT_GT(Automations(), before);
    EXPECT_FALSE(fs::exists(PresetsFolder()));
}

TEST_F(FlowsTest, SaveOntoAFolderReportsTheErrorAndLeavesNoTrace) {
    fs::create_directories(PresetFile("Dir"));
    SaveAs("Dir");
    ASSERT_NE(MessageBox(), nullptr);
    EXPECT_EQ(BoxCaption(), "Save Preset");
    EXPECT_EQ(BoxKind(), gui::TMsgDlgType::Warning);
    EXPECT_EQ(BoxText().rfind("Error saving preset to file.\n\n\"", 0), 0u) << BoxText();
    EXPECT_NE(BoxText().find("Dir.quorvatp"), std::string::npos) << BoxText();
    Answer(TModalResult::OK);
    EXPECT_TRUE(fs::is_directory(PresetFile("Dir")));
    EXPECT_EQ(FolderContents(), (std::set<std::string>{"Dir.quorvatp"}));
    EXPECT_EQ(module->PresetName(), "Dir") << "named although not written";
}

#if !defined(_WIN32)
// A write that fails half-way (the file-size limit works for root too) must not cost the user
// the preset being overwritten.
TEST_F(FlowsTest, FailedOverwriteKeepsTheOldFile) {
    WriteBytes(PresetFile("Lead"), "old");
    SaveAs("Lead");
    ASSERT_EQ(BoxText(), "Overwrite existing preset?");

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 16;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Answer(TModalResult::Yes);
    (void)setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(BoxCaption(), "Save Preset");
    EXPECT_EQ(BoxText().rfind("Error saving preset to file.\n\n\"", 0), 0u) << BoxText();
    Answer(TModalResult::OK);
    EXPECT_EQ(ReadBytes(PresetFile("Lead")), "old");
    EXPECT_EQ(FolderContents(), (std::set<std::string>{"Lead.quorvatp"}));
}
#endif

TEST_F(FlowsTest, LoadingAPresetRestoresItsStateAndNameWithoutTellingTheHost) {
    // The reset state has channel 1 active.
    module->Mapping().GetItem(0).SetActive(false);
    SaveAs("Good");
    module->LoadInitPreset();
    ASSERT_TRUE(ChannelActive(0));
    ASSERT_EQ(module->PresetName(), "");
    const int before = Automations();

    LoadFromBrowser("Good");
    EXPECT_EQ(root->TopOverlay(), nullptr) << BoxText();
    EXPECT_FALSE(ChannelActive(0));
    EXPECT_EQ(module->PresetName(), "Good");
    EXPECT_EQ(form->btnPresets().Caption(), "Good");
    EXPECT_EQ(Automations(), before);
    EXPECT_EQ(form->browserClosed, 1);
    EXPECT_GE(window->DiscardCalls(), 1);

    // A double click on an entry loads it too.
    module->LoadInitPreset();
    Click(form->btnPresets());
    gui::TfrmPresets* browser = Browser();
    ASSERT_NE(browser, nullptr);
    DoubleClick(browser->lstPresets().ToRoot(Centre(browser->lstPresets().ItemRect(0))));
    EXPECT_EQ(Browser(), nullptr);
    EXPECT_FALSE(ChannelActive(0));
    EXPECT_EQ(module->PresetName(), "Good");
}

TEST_F(FlowsTest, LoadingAFileThatIsNoChunkKeepsStateAndName) {
    SaveAs("Keep");
    module->Mapping().GetItem(0).SetActive(false); // differs from the reset state
    WriteBytes(PresetFile("Bad"), "this is not a preset");

    LoadFromBrowser("Bad");
    ASSERT_NE(MessageBox(), nullptr);
    EXPECT_EQ(BoxCaption(), "Load Preset");
    EXPECT_EQ(BoxKind(), gui::TMsgDlgType::Warning);
    EXPECT_EQ(BoxText().rfind("Error loading preset from file.\n\n\"", 0), 0u) << BoxText();
    Answer(TModalResult::OK);
    EXPECT_EQ(module->PresetName(), "Keep");
    EXPECT_FALSE(ChannelActive(0));
    EXPECT_EQ(form->browserClosed, 1);
}

TEST_F(FlowsTest, APresetWhoseStateBreaksOffIsReportedAndStillNamesTheState) {
    // A whole chunk header around the first half of a state stream.
    const std::string whole = CurrentChunk();
    const std::string payload = whole.substr(8, (whole.size() - 8) / 2);
    std::string broken = "mmst";
    for (int shift = 0; shift < 32; shift += 8)
        broken += static_cast<char>((payload.size() >> shift) & 0xFF);
    WriteBytes(PresetFile("Broken"), broken + payload);

    LoadFromBrowser("Broken");
    ASSERT_NE(MessageBox(), nullptr);
    EXPECT_EQ(BoxCaption(), "Load Preset");
    EXPECT_EQ(BoxText().rfind("Error loading preset.\n\n\"", 0), 0u) << BoxText();
    Answer(TModalResult::OK);
    EXPECT_EQ(root->TopOverlay(), nullptr) << "one report only";
    EXPECT_EQ(module->PresetName(), "Broken");
}

TEST_F(FlowsTest, DeletingTheCurrentPresetInTheBrowserClearsItsName) {
    SaveAs("Lead");
    Click(form->btnPresets());
    gui::TfrmPresets* browser = Browser();
    ASSERT_NE(browser, nullptr);
    gui::TListBox& list = browser->lstPresets();
    window->Click(list.ToRoot(Centre(list.ItemRect(0))), platform::MouseButton::Right);
    const auto& items = browser->popMenu().View()->Level(0).Items;
    const auto it = std::find_if(items.begin(), items.end(), [](const gui::TMenuItem* item) {
        return item->Caption == "Delete";
    });
    ASSERT_NE(it, items.end());
    Click(Centre(
        browser->popMenu().View()->ItemRect(0, static_cast<std::size_t>(it - items.begin()))));
    Answer(TModalResult::Yes);
    EXPECT_EQ(module->PresetName(), "Lead") << "still open";
    Click(browser->btnCancel());
    EXPECT_EQ(module->PresetName(), "");
    EXPECT_EQ(form->btnPresets().Caption(), "-");
}

} // namespace
} // namespace ostinel::test
