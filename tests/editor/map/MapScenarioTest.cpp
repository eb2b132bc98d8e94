// A musician's session with the map editor, in each skin, through the window only: choose
// channel 10 and switch it on, set a range, load the drum template, drag values, lay a scale on
// the second target, copy the channel into a second instance's editor, save a preset, and load
// it back from the browser after the host has loaded something else. The model is read only to
// check. Each run leaves a screenshot of the end state beside the build.
#include "editor/map/MapEditorFixture.h"
#include "graphics/Png.h"
#include "gui/controls/ListBox.h"
#include "gui/dialogs/InputDlg.h"
#include "gui/dialogs/PresetsForm.h"
#include "gui/skins/Skin.h"
#include "platform/headless/HeadlessPlatform.h"
#include "services/BinClipboard.h"
#include "support/StateBuilder.h"

#include <array>

namespace ostinel::test {
namespace {

struct SkinCase {
    int style;
    const char* name;
};

constexpr int kChannel = 9; // channel 10
constexpr int kTemplateFrom = 36;
constexpr int kTemplateTo = 51;
const std::array<int, 7> kMajor = {0, 2, 4, 5, 7, 9, 11};
const char* const kPresetName = "Drums Ten";

constexpr int ColOf(int targetIndex, int offset) {
    return TargetFirstColumn(targetIndex) + offset;
}

// The note the scale lays on `note` when chosen on `source` of an empty target.
int MajorAround(int source, int note) {
    const int steps = static_cast<int>(kMajor.size());
    if (note >= source) {
        const int j = note - source;
        return source + 12 * (j / steps) + kMajor[static_cast<std::size_t>(j % steps)];
    }
    const int j = source - 1 - note;
    return source - 12 * (j / steps) + kMajor[static_cast<std::size_t>(steps - 1 - j % steps)] - 12;
}

class MapScenarioTest : public MapEditorTest, public ::testing::WithParamInterface<SkinCase> {
protected:
    void BeforeOpen() override {
        platform::HeadlessProcessClipboard().Clear();
        Module().SetStyle(GetParam().style);
    }

    void OpenChannelMenu() {
        Click(Form().btnChannelMenu());
        ASSERT_NE(MenuView(), nullptr);
    }
    gui::TfrmInputDlg* Prompt() { return dynamic_cast<gui::TfrmInputDlg*>(Root().TopOverlay()); }
    gui::TfrmPresets* Browser() { return dynamic_cast<gui::TfrmPresets*>(Root().TopOverlay()); }

    // The header as the user sees it: channel 10 chosen and on, the template's range.
    void ExpectHeaderOfChannel10() {
        EXPECT_EQ(Form().lblChannel().Caption(), "Channel 10");
        EXPECT_TRUE(Form().btnChannel(10).Down());
        EXPECT_TRUE(Form().btnChannel(10).Underline());
        EXPECT_TRUE(Form().switchActive().Value());
        EXPECT_EQ(Form().inputRangeFrom().Value(), static_cast<float>(kTemplateFrom));
        EXPECT_EQ(Form().inputRangeTo().Value(), static_cast<float>(kTemplateTo));
        EXPECT_EQ(Grid().RowCount(), kTemplateTo - kTemplateFrom + 2);
    }
};

TEST_P(MapScenarioTest, AMusiciansSessionSurvivesCopySaveAndReload) {
#if defined(_WIN32)
    GTEST_SKIP() << "the session saves a preset, and the presets folder is the user's Documents "
                    "folder here";
#endif
    ASSERT_EQ(gui::ActiveSkin().Kind, static_cast<gui::TSkinKind>(GetParam().style));

    // 1. Channel 10, switched on.
    Click(Form().btnChannel(10));
    ASSERT_EQ(Map().SelectedChannel(), kChannel);
    ASSERT_FALSE(Form().switchActive().Value()) << "channel 10 starts off";
    Click(Form().switchActive());
    EXPECT_TRUE(Channel(kChannel).Active());
    EXPECT_TRUE(Form().btnChannel(10).Underline());

    // 2. A range by wheel and popup, then the drum template, which brings its own.
    Wheel(Centre(Form().inputRangeFrom().RootRect()), 8 * 24);
    EXPECT_EQ(Channel(kChannel).RangeFrom(), 24.0f);
    Click(Centre(Form().inputRangeTo().RootRect()), gui::MouseButton::Right);
    Choose({DecadeRangeText(60), "60"});
    EXPECT_EQ(Channel(kChannel).RangeTo(), 60.0f);
    EXPECT_EQ(Grid().RowCount(), 60 - 24 + 2);
    OpenChannelMenu();
    Choose({"Input Templates", "Audio Damage Tattoo"});
    EXPECT_EQ(BoxText(), "Apply input template (\"Audio Damage Tattoo\")?");
    Answer(gui::TModalResult::Yes);
    EXPECT_EQ(MessageBox(), nullptr);
    ExpectHeaderOfChannel10();
    for (int n = kTemplateFrom; n <= kTemplateTo; ++n) {
        const bool silenced = n == 44 || n == 47 || n == 48 || n == 50;
        EXPECT_EQ(Target(n, 0, kChannel).Note(), silenced ? -1.0f : static_cast<float>(n)) << n;
    }

    // 3. Drags: a channel up 8 steps, a velocity scale down 8 and back up 10 fine ones.
    ASSERT_EQ(Target(40, 0, kChannel).Channel(), 10.0f) << "the template keeps the channel";
    Drag(CellCentre(ColOf(0, 0), RowOf(40)), 8, -1);
    EXPECT_EQ(Target(40, 0, kChannel).Channel(), 12.0f);
    const float scaleBefore = Target(41, 0, kChannel).VelocityScale();
    Drag(CellCentre(ColOf(0, 2), RowOf(41)), 8, 1);
    EXPECT_EQ(Target(41, 0, kChannel).VelocityScale(), scaleBefore - 2.0f);
    Drag(CellCentre(ColOf(0, 2), RowOf(41)), 10, -1, {true, false, false});
    EXPECT_NEAR(Target(41, 0, kChannel).VelocityScale(), scaleBefore - 1.5f, 1e-4);
    EXPECT_EQ(Info(), "1-Scale: -2%") << "-1.5 shows rounded half to even";

    // 4. Major on the second target, laid around note 43.
    RightPress(ColOf(1, 1), RowOf(43));
    Choose({"Load Scale", "Major"});
    EXPECT_EQ(BoxText(), "Load scale (\"Major\")?");
    Answer(gui::TModalResult::Yes);
    for (int n = kTemplateFrom; n <= kTemplateTo; ++n)
        EXPECT_EQ(Target(n, 1, kChannel).Note(), static_cast<float>(MajorAround(43, n))) << n;
    EXPECT_EQ(Target(43, 0, kChannel).Note(), 43.0f) << "target 1 untouched";

    // 5. Copy, and paste into channel 10 of a second instance with its own editor.
    OpenChannelMenu();
    Choose({"Copy"});
    EXPECT_TRUE(platform::HeadlessProcessClipboard().HasFormat(kChannelClipboardFormat));
    {
        auto second = std::make_unique<EditorSession>();
        second->Open();
        std::swap(session, second);
        Click(Form().btnChannel(10));
        OpenChannelMenu();
        EXPECT_TRUE(Form().ChannelMenu().Paste().Enabled) << "the clipboard is the process's";
        Choose({"Paste"});
        EXPECT_EQ(BoxText(), "Paste from clipboard?");
        Answer(gui::TModalResult::Yes);
        EXPECT_EQ(MessageBox(), nullptr) << BoxText();
        EXPECT_TRUE(session->Channel(kChannel).Equals(second->Channel(kChannel)));
        ExpectHeaderOfChannel10();
        session->Close();
        std::swap(session, second);
    }

    // 6. Save Preset from the heading menu.
    Click(Form().btnMenu());
    Choose({"Save Preset"});
    ASSERT_NE(Prompt(), nullptr);
    EXPECT_EQ(Prompt()->Caption(), "Save Preset");
    ASSERT_TRUE(Window().KeyDown(platform::Key::LetterA, {false, true, false}));
    (void)Window().KeyUp(platform::Key::LetterA, {false, true, false});
    ASSERT_TRUE(Window().TypeText(kPresetName));
    Click(Prompt()->btnOK);
    EXPECT_EQ(Root().TopOverlay(), nullptr) << BoxText();
    EXPECT_EQ(Module().PresetName(), kPresetName);
    EXPECT_EQ(Form().btnPresets().Caption(), kPresetName);
    const std::vector<std::uint8_t> saved = session->instance->GetChunk(true);
    const std::unique_ptr<TOstinel> savedMap = MapOfChunk(saved);

    // 7. The host closes the editor and loads another state; reopened, the preset comes back.
    session->Close();
    StateSpec other;
    other.presetName = "Other";
    ASSERT_GT(session->instance->SetChunk(MakeChunk(*DefaultMap(), other), true), 0);
    ASSERT_TRUE(MapOfChunk(session->instance->GetChunk(true))->Equals(*DefaultMap()));
    session->Open();
    EXPECT_EQ(Form().lblChannel().Caption(), "Channel 1");
    EXPECT_EQ(Form().btnPresets().Caption(), "-") << "no preset file is named Other";
    Click(Form().btnPresets());
    gui::TfrmPresets* browser = Browser();
    ASSERT_NE(browser, nullptr);
    gui::TListBox& list = browser->lstPresets();
    int entry = -1;
    for (int i = 0; i < list.Count(); ++i)
        if (list.ItemText(i) == kPresetName)
            entry = i;
    ASSERT_GE(entry, 0) << "the saved preset is listed";
    Window().DoubleClick(list.ToRoot(Centre(list.ItemRect(entry))));
    EXPECT_EQ(Browser(), nullptr);
    EXPECT_EQ(Root().TopOverlay(), nullptr) << BoxText();
    Idle();

    const std::vector<std::uint8_t> reloaded = session->instance->GetChunk(true);
    EXPECT_TRUE(MapOfChunk(reloaded)->Equals(*savedMap));
    EXPECT_EQ(reloaded, saved) << "the same state and name as saved";
    EXPECT_EQ(Module().PresetName(), kPresetName);
    EXPECT_EQ(Form().btnPresets().Caption(), kPresetName);
    ExpectHeaderOfChannel10();

    Flush();
    SavePng(Window().Screen(), fs::path(OSTINEL_SCENARIO_SHOT_DIR) /
                                   ("scenario-" + std::string(GetParam().name) + ".png"));
}

INSTANTIATE_TEST_SUITE_P(Skins, MapScenarioTest,
                         ::testing::Values(SkinCase{0, "carbon"}, SkinCase{1, "dark"},
                                           SkinCase{2, "light"}, SkinCase{3, "luna"},
                                           SkinCase{4, "smokey"}),
                         [](const ::testing::TestParamInfo<SkinCase>& skin) {
                             return std::string(skin.param.name);
                         });

} // namespace
} // namespace ostinel::test
