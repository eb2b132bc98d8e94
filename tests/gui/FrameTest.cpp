// The editor window frame in a headless window: the background tile and its anchoring, panMain's
// placement and translucency, the focus timer on the fake clock, and the focus-under-cursor
// rule for clicks, wheel turns and buttons.
#include "gui/controls/Edit.h"
#include "gui/controls/Label.h"
#include "gui/controls/QelMenuButton.h"
#include "gui/controls/QelSpTBXSpeedButton.h"
#include "gui/frame/EditorBackground.h"
#include "gui/frame/VSTEditorBase.h"
#include "gui/skins/Skin.h"
#include "gui/widgets/WidgetRoot.h"
#include "platform/headless/HeadlessWindow.h"

#include "graphics/CanvasTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace ostinel::gui {
namespace {

using platform::HeadlessWindow;
using test::ColorDistance;

constexpr int kWidth = 400;
constexpr int kHeight = 300;

// Counts the hook calls of a showing.
class CountingForm final : public TfrmVSTEditorBase {
public:
    using TfrmVSTEditorBase::TfrmVSTEditorBase;
    void EditorIdle() override { ++idleCalls; }
    int idleCalls = 0;
};

class FrameTest : public ::testing::Test {
protected:
    FrameTest() { DeactivateSkin(); }
    ~FrameTest() override {
        root->AttachWindow(nullptr);
        window.reset();
        DeactivateSkin();
    }

    // Builds root, form and window (in the order the editor does), then paints.
    void Open(int width = kWidth, int height = kHeight) {
        root = std::make_unique<WidgetRoot>(width, height);
        form = &root->EmplaceContent<CountingForm>(*root);
        window = platform::CreateHeadlessWindow(width, height, *root);
        root->AttachWindow(window.get());
        window->PumpEvents();
    }

    [[nodiscard]] Color Pixel(int x, int y) const { return root->GetCanvas().GetPixel(x, y); }
    [[nodiscard]] Color TileAt(int x, int y) const {
        return form->BackgroundTile().GetPixel(x % kEditorBackgroundSize,
                                               y % kEditorBackgroundSize);
    }
    // A colour at opacity alpha over an opaque one.
    static Color Blend(Color over, int alpha, Color under) {
        auto ch = [alpha](int o, int u) {
            return static_cast<std::uint8_t>((o * alpha + u * (255 - alpha) + 127) / 255);
        };
        return {ch(over.r, under.r), ch(over.g, under.g), ch(over.b, under.b), 255};
    }

    std::unique_ptr<WidgetRoot> root;
    CountingForm* form = nullptr;
    std::unique_ptr<HeadlessWindow> window;
};

// ---- Background -----------------------------------------------------------------------

TEST(EditorBackground, IsADarkGreyPlateWithStaggeredHolesThreePixelsWide) {
    const Image tile = MakeEditorBackground();
    ASSERT_EQ(tile.Width(), 16);
    ASSERT_EQ(tile.Height(), 16);
    std::map<int, int> greys;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const Color c = tile.GetPixel(x, y);
            ASSERT_EQ(c.a, 255) << x << "," << y;
            ASSERT_TRUE(c.r == c.g && c.g == c.b) << "grey at " << x << "," << y;
            ASSERT_LE(c.r, 0x34) << x << "," << y;
            ++greys[c.r];
        }
    }
    // The ground is the plate's colour: most of the tile.
    EXPECT_GT(greys[kEditorBackgroundGround], 16 * 16 / 2);
    EXPECT_EQ(greys.begin()->first, 0x00) << "holes reach black";
    EXPECT_EQ(greys.rbegin()->first, 0x34) << "lit edges reach 0x34";

    // Every run of hole pixels along a row (wrapping, as the tile repeats) is 3 pixels wide,
    // and the rows of holes are staggered: the columns of the first row of holes differ from
    // those of the next.
    std::map<int, std::vector<int>> runStartsByRow;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool hole = tile.GetPixel(x, y).r != kEditorBackgroundGround;
            const bool before = tile.GetPixel((x + 15) % 16, y).r != kEditorBackgroundGround;
            if (hole && !before) {
                int length = 0;
                while (length < 16 &&
                       tile.GetPixel((x + length) % 16, y).r != kEditorBackgroundGround) {
                    ++length;
                }
                EXPECT_EQ(length, 3) << "run at " << x << "," << y;
                runStartsByRow[y].push_back(x);
            }
        }
    }
    ASSERT_GE(runStartsByRow.size(), 2u);
    std::vector<std::vector<int>> patterns;
    for (const auto& [y, starts] : runStartsByRow) {
        if (patterns.empty() || patterns.back() != starts) {
            patterns.push_back(starts);
        }
    }
    EXPECT_GE(patterns.size(), 2u) << "all hole rows line up: not staggered";
}

TEST_F(FrameTest, TileIsAnchoredAtTheWindowsTopLeftCornerWhateverIsRepainted) {
    Open();
    // The margins outside panMain show the bare tile.
    for (const Point p : {Point{0, 0}, Point{2, 150}, Point{17, 3}, Point{398, 299},
                          Point{200, 298}, Point{399, 100}}) {
        EXPECT_EQ(Pixel(p.x, p.y), TileAt(p.x, p.y)) << p.x << "," << p.y;
    }
    // A repaint of a part that starts off the tile's grid must continue the same pattern.
    root->Invalidate({5, 1, 61, 4});
    root->Invalidate({397, 37, 400, 299});
    root->Update();
    for (int y = 1; y < 4; ++y) {
        for (int x = 5; x < 61; ++x) {
            ASSERT_EQ(Pixel(x, y), TileAt(x, y)) << x << "," << y;
        }
    }
    for (int y = 37; y < 299; ++y) {
        for (int x = 397; x < 400; ++x) {
            ASSERT_EQ(Pixel(x, y), TileAt(x, y)) << x << "," << y;
        }
    }
    // And what the window shows is the same.
    EXPECT_EQ(window->Screen().GetPixel(17, 3), TileAt(17, 3));
}

TEST_F(FrameTest, ResizingKeepsTheMarginsAndTheSeamlessTile) {
    Open();
    for (const auto& [w, h] : {std::pair{531, 396}, std::pair{950, 600}, std::pair{37, 29}}) {
        root->Resize(w, h);
        root->Update();
        EXPECT_EQ(form->panMain().Bounds(), (Rect{3, 4, w - 3, h - 3})) << w << "x" << h;
        for (int x = 0; x < w; ++x) {
            ASSERT_EQ(Pixel(x, 1), TileAt(x, 1)) << w << "x" << h << " at x " << x;
            ASSERT_EQ(Pixel(x, h - 2), TileAt(x, h - 2)) << w << "x" << h << " at x " << x;
        }
    }
    // Smaller than the margins: an empty panel, all tile.
    root->Resize(5, 6);
    root->Update();
    EXPECT_TRUE(form->panMain().Bounds().IsEmpty());
    EXPECT_EQ(Pixel(4, 5), TileAt(4, 5));
}

// ---- panMain ----------------------------------------------------------------------------

TEST_F(FrameTest, MainPanelFillsTheWindowInsideItsMarginsTranslucentAndWithoutBorder) {
    Open();
    TQelGuiPanel& panel = form->panMain();
    EXPECT_EQ(panel.Name(), "panMain");
    EXPECT_EQ(panel.Bounds(), (Rect{3, 4, kWidth - 3, kHeight - 3}));
    EXPECT_EQ(panel.Alpha(), 220);
    EXPECT_FLOAT_EQ(panel.BorderRadius(), 5.0f);
    EXPECT_FLOAT_EQ(panel.BorderWidth(), 1.0f);
    EXPECT_FALSE(panel.BorderVisible());
    EXPECT_TRUE(panel.Transparent());

    // Without a skin the panel is white at 220 over the tile: interior pixels over the plate and
    // over a hole, and the straight edges, which are fully covered.
    const Color white = Color::Rgb(0xFFFFFF);
    for (const Point p : {Point{100, 100}, Point{101, 100}, Point{102, 101}, Point{3, 150},
                          Point{396, 150}, Point{200, 4}, Point{200, 296}}) {
        EXPECT_LE(ColorDistance(Pixel(p.x, p.y), Blend(white, 220, TileAt(p.x, p.y))), 1)
            << p.x << "," << p.y;
    }
    // The rounded corner leaves the corner pixel mostly to the tile, and the last border pixel
    // shows no opaque band.
    EXPECT_LE(ColorDistance(Pixel(3, 4), TileAt(3, 4)), 0x40);
    EXPECT_LT(Pixel(3, 150).r, 0xF8);
}

TEST_F(FrameTest, MainPanelTakesTheActiveSkinsPanelColour) {
    ActivateSkin(3); // Luna
    Open();
    const Color panel = GetSkin(TSkinKind::Luna).Panel;
    EXPECT_EQ(form->panMain().PanelColor(), panel);
    EXPECT_LE(ColorDistance(Pixel(120, 90), Blend(panel, 220, TileAt(120, 90))), 1);
}

// ---- Showing and the focus timer --------------------------------------------------------

TEST_F(FrameTest, FocusTimerGivesTheFormTheFocusOnce100msAfterEachShowing) {
    Open();
    EXPECT_FALSE(root->FocusedWidget() == form);
    EXPECT_FALSE(form->timFormActivated().Enabled()) << "disabled at creation";

    form->Show();
    EXPECT_EQ(form->idleCalls, 1) << "FormShow runs EditorIdle first";
    EXPECT_TRUE(form->timFormActivated().Enabled());
    EXPECT_EQ(form->timFormActivated().Interval(), 100);
    window->AdvanceTime(99);
    EXPECT_NE(root->FocusedWidget(), form);
    EXPECT_FALSE(window->HasFocus());
    window->AdvanceTime(1);
    EXPECT_EQ(root->FocusedWidget(), form);
    EXPECT_TRUE(window->HasFocus()) << "the native window takes the keys too";
    EXPECT_FALSE(form->timFormActivated().Enabled());

    // It does not fire again: the focus given away stays away.
    ASSERT_TRUE(form->panMain().SetFocus());
    window->AdvanceTime(1000);
    EXPECT_EQ(root->FocusedWidget(), &form->panMain());

    // A second showing arms it once more.
    form->Show();
    EXPECT_EQ(form->idleCalls, 2);
    window->AdvanceTime(100);
    EXPECT_EQ(root->FocusedWidget(), form);
    ASSERT_TRUE(form->panMain().SetFocus());
    window->AdvanceTime(1000);
    EXPECT_EQ(root->FocusedWidget(), &form->panMain());
    EXPECT_EQ(form->idleCalls, 2) << "the timer does not run EditorIdle";
}

// ---- Focus under the cursor -------------------------------------------------------------

class FrameFocusTest : public FrameTest {
protected:
    void SetUp() override {
        Open();
        TQelGuiPanel& panel = form->panMain();
        label = &panel.Add<TLabel>("Range");
        label->SetPosition(20, 20);
        speed = &panel.Add<TQelSpTBXSpeedButton>("3");
        speed->SetBounds(100, 20, 24, 24);
        menu = &panel.Add<TQelMenuButton>();
        menu->SetPosition(140, 20);
        edit = &panel.Add<TEdit>();
        edit->SetBounds(20, 60, 120, 23);
        other = &panel.Add<TEdit>();
        other->SetBounds(20, 200, 120, 23);
        window->PumpEvents();
    }

    // Panel-local point in window coordinates.
    [[nodiscard]] Point InPanel(Point p) const { return form->panMain().ToRoot(p); }

    TLabel* label = nullptr;
    TQelSpTBXSpeedButton* speed = nullptr;
    TQelMenuButton* menu = nullptr;
    TEdit* edit = nullptr;
    TEdit* other = nullptr;
};

TEST_F(FrameFocusTest, ClicksAndWheelTurnsMoveTheFocusToWhatIsUnderThePointerExceptButtons) {
    struct Case {
        const char* what;
        Point at; // window coordinates
        bool wheel;
        Widget* expected; // nullptr: the focus stays on `other`
    };
    const Case cases[] = {
        {"click on the bare form (margin)", {1, 150}, false, form},
        {"wheel on the bare form (margin)", {1, 150}, true, form},
        {"click on an empty part of panMain", InPanel({300, 150}), false, &form->panMain()},
        {"wheel on an empty part of panMain", InPanel({300, 150}), true, &form->panMain()},
        {"click on a label: its panel", InPanel({22, 24}), false, &form->panMain()},
        {"wheel over an edit box", InPanel({60, 70}), true, edit},
        {"click on a speed button", InPanel({110, 30}), false, nullptr},
        {"wheel over a speed button", InPanel({110, 30}), true, nullptr},
        {"wheel over the menu button", InPanel({150, 28}), true, nullptr},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(other->SetFocus());
        if (c.wheel) {
            window->MouseWheel(c.at, -120);
        } else {
            window->Click(c.at);
        }
        Widget* expected = c.expected != nullptr ? c.expected : other;
        EXPECT_EQ(root->FocusedWidget(), expected) << c.what;
        // A click on the menu button would open its menu; none of these may leave an overlay.
        EXPECT_EQ(root->OverlayCount(), 0u) << c.what;
    }
}

TEST_F(FrameFocusTest, FocusControlUnderCursorFollowsThePointerAndNeedsAKnownPosition) {
    ASSERT_TRUE(other->SetFocus());
    form->FocusControlUnderCursor(); // the pointer has not been seen yet
    EXPECT_EQ(root->FocusedWidget(), other);

    window->MouseMove(InPanel({60, 70}));
    form->FocusControlUnderCursor();
    EXPECT_EQ(root->FocusedWidget(), edit);

    window->MouseMove(InPanel({110, 30}));
    form->FocusControlUnderCursor();
    EXPECT_EQ(root->FocusedWidget(), edit) << "a speed button does not take it";

    window->MouseLeaveWindow(); // the position is unknown again
    form->FocusControlUnderCursor();
    EXPECT_EQ(root->FocusedWidget(), edit);
}

} // namespace
} // namespace ostinel::gui
