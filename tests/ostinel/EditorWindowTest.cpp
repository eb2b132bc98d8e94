// The plug-in's editor through the VST 2.4 entry points, in a headless window: opening, the
// rectangle, idle pumping, closing, the skin chosen by Style, the load error that waited for
// the editor, the host's wheel notice and the preset name on the preset button.
#include "ostinel/EditorWindow.h"
#include "editor/map/Editor.h"
#include "editor/map/QelDrawGrid.h"
#include "gui/controls/Label.h"
#include "gui/controls/QelSpTBXSpeedButton.h"
#include "gui/dialogs/MessageDialog.h"
#include "gui/frame/EditorBackground.h"
#include "gui/skins/Skin.h"
#include "ostinel/EditorSnapshot.h"
#include "ostinel/VSTPlugin.h"
#include "platform/headless/HeadlessWindow.h"
#include "support/FakeHost.h"
#include "support/PluginInstance.h"

#include "ostinel/PluginFixture.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace ostinel::test {
namespace {

using gui::Color;
using gui::Point;
using vst::ERect;

constexpr vst::VstIntPtr kWheelNotice = 0x57686565; // "Whee"

class EditorTest : public ::testing::Test {
protected:
    EditorTest() { ClearUserFolders(); }

    void SetUp() override {
        instance = std::make_unique<Instance>();
        module = dynamic_cast<TVSTPlugin*>(TBasicVSTModule::FromEffect(instance->Effect()));
        ASSERT_NE(module, nullptr);
    }

    vst::VstIntPtr Open() { return instance->Dispatch(vst::effEditOpen, 0, 0, &parent); }
    void Close() { (void)instance->Dispatch(vst::effEditClose); }
    void Idle() { (void)instance->Dispatch(vst::effEditIdle); }
    std::tuple<vst::VstIntPtr, ERect> GetRect() {
        ERect* rect = nullptr;
        const vst::VstIntPtr result = instance->Dispatch(vst::effEditGetRect, 0, 0, &rect);
        return {result, rect != nullptr ? *rect : ERect{-1, -1, -1, -1}};
    }

    TEditorWindow& Editor() {
        auto* editor = dynamic_cast<TEditorWindow*>(module->EditorForm());
        EXPECT_NE(editor, nullptr);
        return *editor;
    }
    platform::HeadlessWindow& Window() {
        auto* window = dynamic_cast<platform::HeadlessWindow*>(Editor().Window());
        EXPECT_NE(window, nullptr);
        return *window;
    }
    [[nodiscard]] gui::Widget* Focused() { return Editor().Root().FocusedWidget(); }
    gui::TMessageForm* Dialog() {
        return dynamic_cast<gui::TMessageForm*>(Editor().Root().TopOverlay());
    }

    FakeHost host;
    std::unique_ptr<Instance> instance;
    TVSTPlugin* module = nullptr;
    int parent = 0; // a headless window only checks that there is a parent
};

bool SameRect(const ERect& r, int top, int left, int bottom, int right) {
    return r.top == top && r.left == left && r.bottom == bottom && r.right == right;
}

TEST_F(EditorTest, OpensA950x600WindowThatHostIdleCallsPaintAndClosesAgain) {
    auto [before, empty] = GetRect();
    EXPECT_EQ(before, 0);
    EXPECT_TRUE(SameRect(empty, 0, 0, 0, 0));

    ASSERT_EQ(Open(), 1);
    auto [open, rect] = GetRect();
    EXPECT_EQ(open, 1);
    EXPECT_TRUE(SameRect(rect, 0, 0, 600, 950))
        << rect.top << " " << rect.left << " " << rect.bottom << " " << rect.right;
    platform::HeadlessWindow& window = Window();
    EXPECT_EQ(window.ClientWidth(), 950);
    EXPECT_EQ(window.ClientHeight(), 600);
    EXPECT_EQ(Editor().Width(), 950);
    EXPECT_EQ(Editor().Height(), 600);

    // The window shows nothing until the host's idle call pumps it; then the whole frame.
    EXPECT_EQ(window.PaintCount(), 0);
    Idle();
    EXPECT_GT(window.PaintCount(), 0);
    EXPECT_EQ(window.LastPaintRect(), (gui::Rect{0, 0, 950, 600}));
    const Color ground{gui::kEditorBackgroundGround, gui::kEditorBackgroundGround,
                       gui::kEditorBackgroundGround, 255};
    EXPECT_EQ(window.Screen().GetPixel(1, 300), ground) << "the tile in the margin";
    // Later changes reach the screen at the next idle call, not before.
    module->SetPresetName("Bass Line");
    const gui::Rect pending = window.PendingInvalidation();
    EXPECT_FALSE(pending.IsEmpty());
    const int paints = window.PaintCount();
    Idle();
    EXPECT_EQ(window.PaintCount(), paints + 1);
    EXPECT_TRUE(window.PendingInvalidation().IsEmpty());

    Close();
    EXPECT_EQ(module->EditorForm(), nullptr);
    auto [closed, left] = GetRect();
    EXPECT_EQ(closed, 0);
    EXPECT_TRUE(SameRect(left, 0, 0, 600, 950)) << "the last opening's size stays";
    Idle(); // nothing left to pump
}

TEST_F(EditorTest, FormTakesTheFocus100msAfterOpeningOnce) {
    ASSERT_EQ(Open(), 1);
    TfrmEditor& form = Editor().Form();
    EXPECT_TRUE(form.timFormActivated().Enabled());
    Window().AdvanceTime(99);
    EXPECT_NE(Focused(), &form);
    Window().AdvanceTime(1);
    EXPECT_EQ(Focused(), &form);
    EXPECT_TRUE(Window().HasFocus());
    EXPECT_FALSE(form.timFormActivated().Enabled());
}

TEST_F(EditorTest, EachOpeningActivatesTheSkinOfStyle) {
    const std::pair<int, gui::TSkinKind> cases[] = {
        {1, gui::TSkinKind::Dark},   {2, gui::TSkinKind::Light},  {3, gui::TSkinKind::Luna},
        {4, gui::TSkinKind::Smokey}, {9, gui::TSkinKind::Carbon}, {0, gui::TSkinKind::Carbon},
    };
    for (const auto& [style, kind] : cases) {
        module->SetStyle(style);
        ASSERT_EQ(Open(), 1) << style;
        EXPECT_EQ(gui::ActiveSkin().Kind, kind) << style;
        const gui::TSkin& skin = gui::GetSkin(kind);
        EXPECT_EQ(Editor().Form().panMain().PanelColor(), skin.Panel) << style;
        Idle();
        // panMain's interior between the channel label and the channel buttons: the skin's
        // panel colour at the panel's opacity over the dark plate.
        const int alpha = Editor().Form().panMain().Alpha();
        const Color shown = Window().Screen().GetPixel(300, 60);
        auto expected = [alpha](std::uint8_t panel) {
            return (panel * alpha + gui::kEditorBackgroundGround * (255 - alpha) + 127) / 255;
        };
        EXPECT_NEAR(shown.r, expected(skin.Panel.r), 1) << style;
        EXPECT_NEAR(shown.g, expected(skin.Panel.g), 1) << style;
        EXPECT_NEAR(shown.b, expected(skin.Panel.b), 1) << style;
        Close();
    }
}

TEST_F(EditorTest, LoadErrorFromBeforeTheOpeningShowsInTheEditorOnce) {
    (void)instance->SetChunk(BadChunk(), true);
    ASSERT_EQ(Open(), 1);
    gui::TMessageForm* dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Caption(), "Load Preset");
    // The box breaks lines at LF (CR LF arrives as LF).
    EXPECT_EQ(dialog->Message().Caption(), "Error loading preset.\n\n\"Invalid chunk id\"");
    ASSERT_EQ(dialog->ButtonCount(), 1u);
    EXPECT_EQ(Editor().Form().lblInfo().Caption(), "Load Preset: Error loading preset.");
    EXPECT_FALSE(module->TakePendingMessage().has_value()) << "taken by the editor";

    // OK, clicked with the pointer, closes it.
    Idle();
    const gui::Rect ok = dialog->Button(0).RootRect();
    EXPECT_TRUE(Window().Click({(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2}));
    EXPECT_EQ(Editor().Root().OverlayCount(), 0u);
    EXPECT_EQ(Editor().Form().lblInfo().Caption(), "") << "acknowledged: the line is cleared";
    Close();

    ASSERT_EQ(Open(), 1);
    EXPECT_EQ(Editor().Root().OverlayCount(), 0u) << "shown once";
    EXPECT_EQ(Editor().Form().lblInfo().Caption(), "");

    // While the editor is open an error shows at once; closing with the box up is fine.
    (void)instance->SetChunk(BadChunk(), true);
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ(Dialog()->Caption(), "Load Preset");
    Idle();
    Close();
}

TEST_F(EditorTest, HostsWheelNoticeFocusesTheControlUnderThePointer) {
    ASSERT_EQ(Open(), 1);
    TfrmEditor& form = Editor().Form();
    gui::Widget& grid = form.grdMap();
    const gui::Rect body = grid.RootRect();
    Window().MouseMove({body.left + 40, body.top + 40});
    ASSERT_NE(Focused(), &grid);

    EXPECT_EQ(instance->Dispatch(vst::effVendorSpecific, 0, kWheelNotice + 1), 0);
    EXPECT_NE(Focused(), &grid) << "other vendor values do nothing";
    EXPECT_EQ(instance->Dispatch(vst::effVendorSpecific, 0, kWheelNotice), 0);
    EXPECT_EQ(Focused(), &grid);

    Window().MouseMove({1, 300}); // the margin: the bare form
    EXPECT_EQ(instance->Dispatch(vst::effVendorSpecific, 0, kWheelNotice), 0);
    EXPECT_EQ(Focused(), &form);
}

TEST_F(EditorTest, PresetButtonFollowsThePresetName) {
    ASSERT_EQ(Open(), 1);
    TfrmEditor& form = Editor().Form();
    EXPECT_EQ(form.btnPresets().Caption(), "-");
    module->SetPresetName("Drums Funk");
    EXPECT_EQ(form.btnPresets().Caption(), "Drums Funk");
    // A name too long for the 277-pixel button is cut at the right.
    module->SetPresetName(std::string(200, 'W'));
    EXPECT_LT(form.btnPresets().Caption().size(), 200u);
    EXPECT_EQ(form.btnPresets().Caption(), std::string(form.btnPresets().Caption().size(), 'W'));
    module->SetPresetName("");
    EXPECT_EQ(form.btnPresets().Caption(), "-");
}

TEST(EditorSnapshot, FiveSkinsGiveFiveLooksOverTheSamePlate) {
    ClearUserFolders();
    std::set<std::tuple<int, int, int>> panels;
    for (int skin = 0; skin < 5; ++skin) {
        const gui::Image image = SnapshotEditor({skin, false, 250});
        ASSERT_EQ(image.Width(), 950);
        ASSERT_EQ(image.Height(), 600);
        EXPECT_EQ(image.GetPixel(1, 300).r, gui::kEditorBackgroundGround) << skin;
        const Color panel = image.GetPixel(300, 60);
        panels.insert({panel.r, panel.g, panel.b});
    }
    EXPECT_EQ(panels.size(), 5u);

    // The load error's box covers the middle of the window.
    const gui::Image plain = SnapshotEditor({0, false, 250});
    const gui::Image error = SnapshotEditor({0, true, 250});
    EXPECT_NE(plain.GetPixel(475, 300), error.GetPixel(475, 300));
}

} // namespace
} // namespace ostinel::test
