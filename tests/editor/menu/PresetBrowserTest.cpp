// The preset browser opened from the heading's preset button: the listing, the selection,
// the context menu, the layout rule, and closing by a press outside it.
#include "editor/menu/MenuFixture.h"
#include "gui/controls/ListBox.h"
#include "platform/headless/HeadlessPlatform.h"

namespace ostinel::test {
namespace {

using gui::Point;
using gui::Rect;
using gui::TfrmPresets;
using gui::TModalResult;
using platform::MouseButton;

class BrowserTest : public MenuTest {
protected:
    void AddPresets(std::initializer_list<const char*> names) {
        for (const char* name : names)
            WriteBytes(PresetFile(name), "x");
    }
    TfrmPresets& OpenBrowser() {
        Click(form->btnPresets());
        TfrmPresets* browser = Browser();
        EXPECT_NE(browser, nullptr);
        return *browser;
    }
    static std::vector<std::string> Entries(TfrmPresets& browser) {
        std::vector<std::string> out;
        for (int i = 0; i < browser.lstPresets().Count(); ++i)
            out.push_back(browser.lstPresets().ItemText(i));
        return out;
    }
    static Point Entry(TfrmPresets& browser, int index) {
        gui::TListBox& list = browser.lstPresets();
        return list.ToRoot(Centre(list.ItemRect(index)));
    }
    // Right-clicks an entry (or a point) and chooses a context-menu entry by name.
    void ContextMenu(TfrmPresets& browser, Point at, std::string_view entry) {
        window->Click(at, MouseButton::Right);
        gui::TPopupMenuLayer* view = browser.popMenu().View();
        ASSERT_NE(view, nullptr);
        const auto& items = view->Level(0).Items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i]->Name == entry) {
                Click(Centre(view->ItemRect(0, i)));
                return;
            }
        }
        FAIL() << entry;
    }
    // A widget outside the browser that counts its clicks.
    gui::Widget& AddProbe() {
        auto& probe = form->Add<gui::Widget>();
        probe.SetBounds(938, 588, 10, 10);
        probe.OnClick = [this] { ++probeClicks; };
        return probe;
    }

    int probeClicks = 0;
};

TEST_F(BrowserTest, ListsPresetFilesByNameInOrderAndNothingElse) {
    AddPresets({"drum", "Bass2", "bass"});
    WriteBytes(PresetsFolder() / ".hidden.quorvatp", "x");
    WriteBytes(PresetsFolder() / "notes.txt", "x");
    WriteBytes(PresetsFolder() / "bass.quorvatp.bak", "x");
    fs::create_directories(PresetsFolder() / "folder.quorvatp");

    TfrmPresets& browser = OpenBrowser();
    EXPECT_EQ(Entries(browser), (std::vector<std::string>{"bass", "Bass2", "drum"}));
    EXPECT_EQ(browser.lstPresets().ItemIndex(), 0);
    EXPECT_TRUE(browser.btnOK().Enabled());
    EXPECT_EQ(browser.lstPresets().Columns(), 3);
    EXPECT_EQ(browser.lblCaption().Caption(), "Load Preset");
    EXPECT_EQ(browser.SelectedPresetFile(), (PresetsFolder() / "bass.quorvatp").string());

    form->LoadPresetFromBrowser();
    EXPECT_EQ(root->OverlayCount(), 1u) << "one browser at a time";
    Click(browser.btnCancel());
    EXPECT_EQ(Browser(), nullptr);
    EXPECT_EQ(form->browserClosed, 1);
    EXPECT_GE(window->DiscardCalls(), 1);

    Choose("ddmMenu_LoadPreset");
    EXPECT_NE(Browser(), nullptr) << "the menu entry opens it too";
}

TEST_F(BrowserTest, SizedByTheHookCentredAndLaidOutByTheRule) {
    TfrmPresets& browser = OpenBrowser();
    // 950 x 600 client: 918 x 568, 16 pixels in.
    EXPECT_EQ(browser.WindowRect(), Rect::FromSize(16, 16, 918, 568));
    EXPECT_EQ(browser.panMain().Bounds(), (Rect{1, 1, 917, 567}));
    EXPECT_EQ(browser.lstPresets().Bounds(), Rect::FromSize(12, 36, 918 - 24, 532 - 36 - 10));
    EXPECT_EQ(browser.btnCancel().Bounds(), Rect::FromSize(12 + 894 - 80 - 1, 568 - 36, 80, 26));
    EXPECT_EQ(browser.btnOK().Bounds(), Rect::FromSize(825 - 90, 532, 80, 26));

    browser.SetWindowRect(Rect::FromSize(100, 50, 544, 289));
    EXPECT_EQ(browser.lstPresets().Width(), 520);
    EXPECT_EQ(browser.btnCancel().Top(), 289 - 36);
}

TEST_F(BrowserTest, SelectsTheCurrentPresetIgnoringCase) {
    AddPresets({"drum", "Bass2", "bass"});
    module->SetPresetName("BASS2");
    EXPECT_EQ(OpenBrowser().lstPresets().ItemIndex(), 1);
    Click(Browser()->btnCancel());

    module->SetPresetName("drum");
    EXPECT_EQ(OpenBrowser().lstPresets().ItemIndex(), 2);
    Click(Browser()->btnCancel());
    EXPECT_EQ(module->PresetName(), "drum") << "its file still exists";

    module->SetPresetName("Gone");
    EXPECT_EQ(OpenBrowser().lstPresets().ItemIndex(), 0);
    Click(Browser()->btnCancel());
    EXPECT_EQ(module->PresetName(), "") << "no file of that name";
}

TEST_F(BrowserTest, RightClickSelectsAndDeleteAsksAboutThatEntry) {
    AddPresets({"drum", "Bass2", "bass"});
    TfrmPresets& browser = OpenBrowser();
    ContextMenu(browser, Entry(browser, 2), "popMenu_Delete");
    EXPECT_EQ(browser.lstPresets().ItemIndex(), 2);
    EXPECT_EQ(BoxText(), "Delete \"drum\"?");
    EXPECT_EQ(BoxCaption(), "Delete Preset");
    EXPECT_EQ(BoxKind(), gui::TMsgDlgType::Confirmation);
    Answer(TModalResult::No);
    EXPECT_TRUE(fs::exists(PresetFile("drum")));
    EXPECT_EQ(Entries(browser).size(), 3u);

    // The last entry: the new last one is selected.
    ContextMenu(browser, Entry(browser, 2), "popMenu_Delete");
    Answer(TModalResult::Yes);
    EXPECT_FALSE(fs::exists(PresetFile("drum")));
    EXPECT_EQ(Entries(browser), (std::vector<std::string>{"bass", "Bass2"}));
    EXPECT_EQ(browser.lstPresets().ItemIndex(), 1);

    // An entry in the middle: the same index stays selected.
    AddPresets({"c"});
    browser.FillList();
    ContextMenu(browser, Entry(browser, 1), "popMenu_Delete");
    EXPECT_EQ(BoxText(), "Delete \"Bass2\"?");
    Answer(TModalResult::Yes);
    EXPECT_EQ(Entries(browser), (std::vector<std::string>{"bass", "c"}));
    EXPECT_EQ(browser.lstPresets().ItemIndex(), 1);
    EXPECT_EQ(Browser(), &browser) << "the browser stays open";
}

TEST_F(BrowserTest, DeletingTheOnlyEntryLeavesAnEmptyListWithoutOk) {
    AddPresets({"solo"});
    TfrmPresets& browser = OpenBrowser();
    ContextMenu(browser, Entry(browser, 0), "popMenu_Delete");
    Answer(TModalResult::Yes);
    EXPECT_TRUE(Entries(browser).empty());
    EXPECT_EQ(browser.lstPresets().ItemIndex(), -1);
    EXPECT_FALSE(browser.btnOK().Enabled());

    window->Click(Centre(browser.lstPresets()), MouseButton::Right);
    ASSERT_NE(browser.popMenu().View(), nullptr);
    EXPECT_FALSE(browser.popMenu().Items().Find("popMenu_Open")->Enabled);
    EXPECT_FALSE(browser.popMenu().Items().Find("popMenu_Delete")->Enabled);
    EXPECT_TRUE(browser.popMenu().Items().Find("popMenu_Explorer")->Enabled);
}

TEST_F(BrowserTest, DoubleClickOnAnEmptyListDoesNothing) {
    TfrmPresets& browser = OpenBrowser();
    EXPECT_FALSE(browser.btnOK().Enabled());
    DoubleClick(Centre(browser.lstPresets()));
    Click(browser.btnOK());
    EXPECT_EQ(Browser(), &browser);
    EXPECT_EQ(form->browserClosed, 0);
}

TEST_F(BrowserTest, ShowInExplorerCreatesTheMissingFolder) {
    ASSERT_FALSE(fs::exists(PresetsFolder()));
    TfrmPresets& browser = OpenBrowser();
    platform::ClearRecordedShellRequests();
    ContextMenu(browser, Centre(browser.lstPresets()), "popMenu_Explorer");
    EXPECT_TRUE(fs::is_directory(PresetsFolder()));
    ASSERT_EQ(platform::RecordedShellRequests().size(), 1u);
    EXPECT_EQ(platform::RecordedShellRequests()[0],
              (platform::ShellRequest{platform::ShellRequest::Kind::ShowFolder,
                                      module->PresetsFolder()}));
}

TEST_F(BrowserTest, PressOutsideCancelsWithin100MsAndTheClickReachesTheWidgetThere) {
    AddPresets({"bass"});
    gui::Widget& probe = AddProbe();
    module->SetPresetName("bass");
    OpenBrowser();

    ASSERT_TRUE(window->MouseDown(Centre(probe)));
    EXPECT_NE(Browser(), nullptr);
    EXPECT_EQ(probeClicks, 0) << "modal: nothing below sees the press yet";
    Advance(100);
    EXPECT_EQ(root->OverlayCount(), 0u);
    EXPECT_EQ(form->browserClosed, 1);
    EXPECT_EQ(probeClicks, 1);
    (void)window->MouseUp(Centre(probe));
    EXPECT_EQ(probeClicks, 1) << "the real release adds no second click";
    EXPECT_EQ(module->PresetName(), "bass") << "cancelled: nothing loaded, file still there";

    // A quick click between two ticks counts as well.
    OpenBrowser();
    Click(Centre(probe));
    EXPECT_NE(Browser(), nullptr);
    Advance(100);
    EXPECT_EQ(Browser(), nullptr);
    EXPECT_EQ(probeClicks, 2);
}

TEST_F(BrowserTest, PressInsideDraggedOutDoesNotClose) {
    AddPresets({"bass"});
    gui::Widget& probe = AddProbe();
    TfrmPresets& browser = OpenBrowser();
    ASSERT_TRUE(window->MouseDown(Entry(browser, 0)));
    EXPECT_TRUE(browser.MouseHeld());
    (void)window->MouseMove(Centre(probe));
    Advance(300);
    EXPECT_EQ(Browser(), &browser);
    (void)window->MouseUp(Centre(probe));
    EXPECT_FALSE(browser.MouseHeld());
    Advance(300);
    EXPECT_EQ(Browser(), &browser);
    EXPECT_EQ(probeClicks, 0);

    ASSERT_TRUE(window->MouseDown(Centre(probe)));
    Advance(100);
    EXPECT_EQ(Browser(), nullptr);
    EXPECT_EQ(probeClicks, 1);
    (void)window->MouseUp(Centre(probe));
}

TEST_F(BrowserTest, PressOutsideWhileItsOwnMenuIsOpenOnlyClosesTheMenu) {
    AddPresets({"bass"});
    gui::Widget& probe = AddProbe();
    TfrmPresets& browser = OpenBrowser();
    window->Click(Entry(browser, 0), MouseButton::Right);
    ASSERT_NE(browser.popMenu().View(), nullptr);
    ASSERT_TRUE(window->MouseDown(Centre(probe)));
    Advance(200);
    (void)window->MouseUp(Centre(probe));
    Advance(200);
    EXPECT_EQ(browser.popMenu().View(), nullptr);
    EXPECT_EQ(Browser(), &browser);
    EXPECT_EQ(probeClicks, 0);
}

TEST_F(BrowserTest, EscapeCancels) {
    AddPresets({"bass"});
    module->Mapping().GetItem(0).SetActive(false);
    OpenBrowser();
    EXPECT_TRUE(window->PressKey(platform::Key::Escape));
    EXPECT_EQ(Browser(), nullptr);
    EXPECT_EQ(form->browserClosed, 1);
    EXPECT_FALSE(module->Mapping().GetItem(0).Active()) << "nothing loaded";
}

TEST_F(BrowserTest, Screenshot) {
    AddPresets({"Acid Bass", "Ambient Pads", "Bass Line", "Breakbeat Drums", "Chords", "Drum Kit",
                "Hi-Hats", "Lead & Pluck", "Melody", "Strings \xE2\x99\xAA", "Techno Kick", "Arp"});
    module->SetPresetName("Bass Line");
    OpenBrowser();
    window->PumpEvents();
    const fs::path png = fs::path(OSTINEL_MENU_SHOTS_DIR) / "preset-browser.png";
    window->SavePng(png);
    EXPECT_TRUE(fs::exists(png));
}

} // namespace
} // namespace ostinel::test
