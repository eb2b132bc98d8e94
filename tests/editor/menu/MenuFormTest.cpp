// The heading form: layout, the info line's timing, the preset button's caption, the main
// menu's entries, check marks and commands, driven with the mouse in a headless window.
#include "common/QelCommon.h"
#include "editor/menu/MenuFixture.h"
#include "graphics/Text.h"
#include "gui/skins/Skin.h"
#include "gui/widgets/TextUtil.h"
#include "platform/System.h"
#include "platform/headless/HeadlessPlatform.h"

#include <algorithm>

namespace ostinel::test {
namespace {

using gui::Rect;
using gui::TModalResult;

TEST_F(MenuTest, HeadingAndMainPanelFollowTheWindow) {
    EXPECT_EQ(form->panHeading().Bounds(), Rect::FromSize(0, 0, 950, 41));
    EXPECT_EQ(form->panMain().Bounds(), (Rect{3, 45, 947, 597}));
    EXPECT_EQ(form->btnMenu().Bounds(), Rect::FromSize(6, 8, 26, 26));
    EXPECT_EQ(form->btnPresets().Bounds(), Rect::FromSize(226, 8, 205, 26));
    EXPECT_EQ(form->panInfo().Bounds(), Rect::FromSize(453, 8, 197, 26));
    EXPECT_EQ(form->lblInfo().Bounds(), Rect::FromSize(6, 6, 186, 14));
    EXPECT_EQ(form->lblName().Caption(), "Ostinel");
    EXPECT_EQ(form->lblName().Left(), 40);
    EXPECT_EQ(form->panMain().Alpha(), 225);

    form->PlaceHeading(337, 277, 661, 283, 272);
    EXPECT_EQ(form->btnPresets().Bounds(), Rect::FromSize(337, 8, 277, 26));
    EXPECT_EQ(form->panInfo().Bounds(), Rect::FromSize(661, 8, 283, 26));
    EXPECT_EQ(form->lblInfo().Width(), 272);

    root->Resize(700, 400);
    EXPECT_EQ(form->panHeading().Bounds(), Rect::FromSize(0, 0, 700, 41));
    EXPECT_EQ(form->panMain().Bounds(), (Rect{3, 45, 697, 397}));
}

TEST_F(MenuTest, InfoLineShowsEachMessageForThreeSecondsFromItsOwnStart) {
    form->ShowInfo("first");
    EXPECT_EQ(form->lblInfo().Caption(), "first");
    EXPECT_TRUE(root->DirtyRects().empty()) << "painted at once";
    Advance(2000);
    form->ShowInfo("second");
    Advance(1000); // the first message's 3 s are over
    EXPECT_EQ(form->lblInfo().Caption(), "second");
    Advance(1999);
    EXPECT_EQ(form->lblInfo().Caption(), "second");
    Advance(1);
    EXPECT_EQ(form->lblInfo().Caption(), "");
    EXPECT_FALSE(form->timInfo().Enabled());

    form->ShowInfo("third");
    form->ShowInfo("");
    EXPECT_EQ(form->lblInfo().Caption(), "");
    EXPECT_FALSE(form->timInfo().Enabled());
}

TEST_F(MenuTest, ClickOnTheMainPanelEndsLearningAndClearsTheInfoLine) {
    module->SetLearnState(kLearnNote);
    form->ShowInfo("Play a note");
    Click(form->panMain().ToRoot({400, 300}));
    EXPECT_EQ(module->LearnState(), kLearnNone);
    EXPECT_EQ(form->lblInfo().Caption(), "");
}

TEST_F(MenuTest, PresetButtonShowsTheNameCutAtTheRightWithoutEllipsis) {
    form->PlaceHeading(337, 277, 661, 283, 272);
    const gui::Font font = form->btnPresets().CaptionFont();
    const int limit = 277 - 8;
    EXPECT_EQ(form->btnPresets().Caption(), "-");

    const std::string names[] = {
        "Bass Line", "A preset with a name far too long to fit on the preset button of the heading",
        "\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C"
        "\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C"
        "\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C\xC3\x9C", // 30 x U+00DC
    };
    for (const std::string& name : names) {
        module->SetPresetName(name);
        const std::string caption = form->btnPresets().Caption();
        ASSERT_FALSE(caption.empty()) << name;
        EXPECT_EQ(name.compare(0, caption.size(), caption), 0) << "a start of " << name;
        EXPECT_LE(gui::TextWidth(font, caption), limit) << name;
        if (caption.size() < name.size()) {
            // One more character would not fit; cut between characters only.
            const auto next = gui::ToCodePoints(name.substr(caption.size())).front();
            std::string longer = caption;
            gui::AppendUtf8(longer, next);
            EXPECT_GT(gui::TextWidth(font, longer), limit) << name;
            EXPECT_EQ(gui::ToUtf8(gui::ToCodePoints(caption)), caption) << "whole characters";
        }
    }
    module->SetPresetName("Bass Line");
    EXPECT_EQ(form->btnPresets().Caption(), "Bass Line");
    module->SetPresetName("");
    EXPECT_EQ(form->btnPresets().Caption(), "-");
}

TEST_F(MenuTest, MenuReadsAsDesignedAndHidesLowestOctave) {
    OpenMenu();
    std::vector<std::string> shown;
    for (const gui::TMenuItem* item : MenuView()->Level(0).Items)
        shown.push_back(item->IsSeparator() ? "-" : item->Caption);
    // No user guide exists in the fresh user folder.
    const std::vector<std::string> expected = {"Init", "-",    "Load Preset", "Save Preset",
                                               "-",    "Skin", "-",           "About"};
    EXPECT_EQ(shown, expected);
    const char* names[] = {"ddmMenu_Init",
                           "ddmMenu_LoadPreset",
                           "ddmMenu_SavePreset",
                           "ddmMain_LowestOctave",
                           "ddmMain_LowestOctave_0",
                           "ddmMain_LowestOctave_min1",
                           "ddmMain_LowestOctave_min2",
                           "ddmMain_Skin",
                           "ddmMain_Skin_Carbon",
                           "ddmMain_Skin_Black",
                           "ddmMain_Skin_Light",
                           "ddmMain_Skin_Luna",
                           "ddmMain_Skin_Smokey",
                           "ddmMenu_OpenUserGuide",
                           "ddmMenu_About"};
    for (const char* name : names)
        EXPECT_NO_THROW((void)form->MenuItem(name)) << name;
    EXPECT_EQ(form->MenuItem("ddmMain_Skin_Black").Caption, "Dark");
    EXPECT_EQ(form->MenuItem("ddmMain_Skin_Smokey").Tag, 4);
}

TEST_F(MenuTest, LowestOctaveEntriesSetTheOffsetAndAreCheckedNextTime) {
    form->showOctave = true;
    form->ShowInfo("something");
    Choose("ddmMain_LowestOctave", "ddmMain_LowestOctave_min1");
    EXPECT_EQ(module->LowestOctave(), -1);
    EXPECT_EQ(OctaveOffset(), -1);
    EXPECT_EQ(form->lblInfo().Caption(), "") << "LowestOctaveChanged clears the info line";
    OpenMenu();
    EXPECT_FALSE(form->MenuItem("ddmMain_LowestOctave_0").Checked);
    EXPECT_TRUE(form->MenuItem("ddmMain_LowestOctave_min1").Checked);
    EXPECT_FALSE(form->MenuItem("ddmMain_LowestOctave_min2").Checked);
    form->ddmMenu().Close();
    Choose("ddmMain_LowestOctave", "ddmMain_LowestOctave_min2");
    EXPECT_EQ(OctaveOffset(), -2);
}

TEST_F(MenuTest, SkinEntryCheckedByStyleAndChangingItShowsTheMessageOnce) {
    const gui::TSkinKind shownSkin = gui::ActiveSkin().Kind;
    OpenMenu();
    EXPECT_TRUE(form->MenuItem("ddmMain_Skin_Carbon").Checked);
    EXPECT_FALSE(form->MenuItem("ddmMain_Skin").Checked) << "no parent marks";
    form->ddmMenu().Close();

    Choose("ddmMain_Skin", "ddmMain_Skin_Carbon"); // the current one
    EXPECT_EQ(root->TopOverlay(), nullptr);

    Choose("ddmMain_Skin", "ddmMain_Skin_Luna");
    EXPECT_EQ(module->Style(), 3);
    ASSERT_NE(MessageBox(), nullptr);
    EXPECT_EQ(BoxCaption(), "Change Skin");
    EXPECT_EQ(BoxKind(), gui::TMsgDlgType::Information);
    std::string text = BoxText();
    std::replace(text.begin(), text.end(), '\n', ' ');
    EXPECT_EQ(text, "Please close and re-open the plugin window for skin changes to take effect.");
    Answer(TModalResult::OK);
    EXPECT_EQ(root->TopOverlay(), nullptr);
    EXPECT_EQ(gui::ActiveSkin().Kind, shownSkin) << "the window keeps its look";

    Choose("ddmMain_Skin", "ddmMain_Skin_Luna");
    EXPECT_EQ(root->TopOverlay(), nullptr) << "no second message";
    OpenMenu();
    EXPECT_TRUE(form->MenuItem("ddmMain_Skin_Luna").Checked);
    EXPECT_FALSE(form->MenuItem("ddmMain_Skin_Carbon").Checked);
}

TEST_F(MenuTest, InitAsksFirstAndNoChangesNothing) {
    module->Mapping().GetItem(0).SetActive(false);
    module->SetPresetName("Lead");
    Choose("ddmMenu_Init");
    EXPECT_EQ(BoxText(), "Initialize preset?");
    EXPECT_EQ(BoxCaption(), "Init");
    EXPECT_EQ(BoxKind(), gui::TMsgDlgType::Confirmation);
    Answer(TModalResult::No);
    EXPECT_EQ(module->PresetName(), "Lead");
    EXPECT_FALSE(module->Mapping().GetItem(0).Active());

    Choose("ddmMenu_Init");
    Answer(TModalResult::Yes);
    EXPECT_EQ(module->PresetName(), "");
    EXPECT_TRUE(module->Mapping().GetItem(0).Active());
    EXPECT_EQ(form->btnPresets().Caption(), "-");
}

TEST_F(MenuTest, AboutShowsNameVersionBuildDateAndMaker) {
    Choose("ddmMenu_About");
    EXPECT_EQ(BoxCaption(), "About");
    EXPECT_EQ(BoxKind(), gui::TMsgDlgType::Information);
    const std::string date = platform::GetBuildDate();
    EXPECT_NE(date, platform::FormatShortDate(platform::Date{})) << "the test binary exists";
    EXPECT_EQ(BoxText(), "Ostinel v1.00\n\nBuild date: " + date + "\n\nQuorvat, 2026");
    Answer(TModalResult::OK);
    EXPECT_EQ(root->TopOverlay(), nullptr);
}

TEST_F(MenuTest, MenuScreenshot) {
    form->showOctave = true;
    module->SetPresetName("Bass Line");
    form->ShowInfo("Channel 1");
    OpenMenu();
    const int skin = IndexIn(0, "ddmMain_Skin");
    window->MouseMove(Centre(MenuView()->ItemRect(0, static_cast<std::size_t>(skin))));
    window->PumpEvents();
    const fs::path png = fs::path(OSTINEL_MENU_SHOTS_DIR) / "menu-open.png";
    window->SavePng(png);
    EXPECT_TRUE(fs::exists(png));
}

// A user guide in the user folder when the form is built.
class UserGuideTest : public MenuTest {
protected:
    void BeforeForm() override { WriteBytes(Guide(), "%PDF"); }
    [[nodiscard]] fs::path Guide() const {
        return fs::path(module->UserFolder()) / module->UserGuideFile();
    }
};

TEST_F(UserGuideTest, OfferedWhileTheFileExistsAndOpenedThroughTheShell) {
    EXPECT_EQ(form->UserGuidePath(), Guide().string());
    OpenMenu();
    EXPECT_TRUE(Shown(0, "ddmMenu_OpenUserGuide"));
    form->ddmMenu().Close();

    platform::ClearRecordedShellRequests();
    Choose("ddmMenu_OpenUserGuide");
    ASSERT_EQ(platform::RecordedShellRequests().size(), 1u);
    EXPECT_EQ(platform::RecordedShellRequests()[0],
              (platform::ShellRequest{platform::ShellRequest::Kind::Open, Guide().string()}));
    EXPECT_EQ(root->TopOverlay(), nullptr) << "opened without complaint";

    fs::remove(Guide());
    OpenMenu();
    EXPECT_FALSE(Shown(0, "ddmMenu_OpenUserGuide"));
    form->ddmMenu().Close();
    WriteBytes(Guide(), "%PDF");
    OpenMenu();
    EXPECT_TRUE(Shown(0, "ddmMenu_OpenUserGuide"));
}

TEST_F(MenuTest, UserGuideMissingAtCreationIsNeverOffered) {
    EXPECT_EQ(form->UserGuidePath(), "");
    WriteBytes(fs::path(module->UserFolder()) / module->UserGuideFile(), "%PDF");
    OpenMenu();
    EXPECT_FALSE(Shown(0, "ddmMenu_OpenUserGuide"));
}

} // namespace
} // namespace ostinel::test
