#include "gui/controls/QelGuiPanel.h"
#include "gui/controls/QelGuiStitchedSwitch.h"
#include "gui/controls/QelMenuButton.h"
#include "gui/skins/Skin.h"

#include "graphics/CanvasTestSupport.h"
#include "gui/WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace ostinel::gui {
namespace {

using test::ColorDistance;
using test::Harness;

constexpr Color kGround = Color::Rgb(0x204060);
constexpr Color kFill = Color::Rgb(0xF0E0D0);
constexpr Color kBorder = Color::Rgb(0x101010);

// Paints the ground, then the panel on top of it.
class Ground final : public Widget {
public:
    void Paint(Canvas& c) override { c.FillRect(ClientRect(), kGround); }
};

struct PanelFixture : ::testing::Test {
    PanelFixture() {
        DeactivateSkin();
        auto& ground = h.root.Content()->Add<Ground>();
        ground.SetBounds(0, 0, 200, 100);
        panel = &ground.Add<TQelGuiPanel>();
        panel->SetBounds(10, 10, 100, 40);
        panel->SetPanelColor(kFill);
        panel->SetBorderColor(kBorder);
    }
    Color At(int x, int y) {
        h.root.Update();
        return h.root.GetCanvas().GetPixel(10 + x, 10 + y);
    }
    static Color Mix(Color over, float a, Color under) {
        auto ch = [a](int o, int u) {
            return static_cast<std::uint8_t>(static_cast<float>(o) * a +
                                             static_cast<float>(u) * (1.0f - a) + 0.5f);
        };
        return {ch(over.r, under.r), ch(over.g, under.g), ch(over.b, under.b), 255};
    }
    Harness h{200, 100};
    TQelGuiPanel* panel = nullptr;
};

TEST_F(PanelFixture, TranslucentFillBlendsOverTheParentAndTheBorderStaysOpaque) {
    panel->SetAlpha(128);
    panel->SetBorderWidth(2.0f);
    panel->SetBorderRadius(5.0f);
    EXPECT_EQ(At(50, 0), kBorder);
    EXPECT_EQ(At(50, 1), kBorder);
    EXPECT_LE(ColorDistance(At(50, 20), Mix(kFill, 128.0f / 255.0f, kGround)), 1);
    EXPECT_EQ(At(0, 0), kGround) << "outside the rounded corner";
    EXPECT_EQ(h.root.GetCanvas().GetPixel(5, 5), kGround) << "outside the panel";
}

TEST_F(PanelFixture, WithoutBorderTheShapeIsOneColourAndOpaqueAlphaHidesTheGround) {
    panel->SetBorderVisible(false);
    panel->SetAlpha(100);
    panel->SetBorderRadius(5.0f);
    const Color expected = Mix(kFill, 100.0f / 255.0f, kGround);
    EXPECT_LE(ColorDistance(At(50, 0), expected), 1) << "edge pixels take the fill";
    EXPECT_LE(ColorDistance(At(50, 20), expected), 1);
    panel->SetAlpha(255);
    EXPECT_EQ(At(50, 20), kFill);
    EXPECT_EQ(At(50, 0), kFill);
}

TEST_F(PanelFixture, RadiusIsLimitedToHalfTheSmallerSide) {
    // 20 pixels high with radius 50 paints exactly like radius 10.
    panel->SetBounds(10, 10, 100, 20);
    panel->SetBorderRadius(50.0f);
    h.root.Update();
    Canvas reference(100, 20, kGround);
    reference.FillRoundRectWithBorder({0, 0, 100, 20}, 10.0f, 1.0f, kFill, kBorder);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 100; x += 3) {
            ASSERT_EQ(h.root.GetCanvas().GetPixel(10 + x, 10 + y), reference.GetPixel(x, y))
                << x << "," << y;
        }
    }
}

TEST_F(PanelFixture, BorderWidthBelowOneDrawsAOnePixelBand) {
    panel->SetBorderWidth(0.5f);
    panel->SetBorderRadius(0.0f);
    EXPECT_EQ(At(50, 0), kBorder);
    EXPECT_EQ(At(50, 1), kFill);
    EXPECT_EQ(At(0, 20), kBorder);
    EXPECT_EQ(At(1, 20), kFill);
}

TEST_F(PanelFixture, OpaqueBackgroundFillsTheCornersWithColor) {
    panel->SetBorderRadius(10.0f);
    panel->SetTransparent(false);
    panel->SetColor(Color::Rgb(0x00FF00));
    EXPECT_EQ(At(0, 0), Color::Rgb(0x00FF00));
}

TEST(PanelSkin, LoadedTakesTheSkinColoursPerTheRules) {
    struct Case {
        int style;
        bool group;
        Color TSkin::*panel;
        Color TSkin::*border;
    };
    const Case cases[] = {
        {0, false, &TSkin::Panel, &TSkin::HintBase},
        {0, true, &TSkin::PanelGroup, &TSkin::HintBase},
        {2, false, &TSkin::Panel, &TSkin::Border},
        {2, true, &TSkin::GenericBackground, &TSkin::Border},
        {3, true, &TSkin::PanelGroup, &TSkin::HintBase},
    };
    for (const Case& c : cases) {
        ActivateSkin(c.style);
        TQelGuiPanel panel;
        panel.SetPanelGroupColor(c.group);
        panel.NotifyLoaded();
        EXPECT_EQ(panel.PanelColor(), ActiveSkin().*c.panel) << c.style << c.group;
        EXPECT_EQ(panel.BorderColor(), ActiveSkin().*c.border) << c.style << c.group;
    }
    TQelGuiPanel unstyled;
    unstyled.SetUseStyles(false);
    unstyled.NotifyLoaded();
    EXPECT_EQ(unstyled.PanelColor(), Color::Rgb(0xFFFFFF));
    DeactivateSkin();
    TQelGuiPanel noSkin;
    noSkin.NotifyLoaded();
    EXPECT_EQ(noSkin.PanelColor(), Color::Rgb(0xFFFFFF)) << "without an active skin";
}

// ---- Switch ----------------------------------------------------------------------------

struct SwitchFixture : ::testing::Test {
    SwitchFixture() {
        sw = &h.root.Content()->Add<TQelGuiStitchedSwitch>();
        sw->SetPosition(10, 10);
        sw->OnChange = [this] { ++changes; };
    }
    Harness h;
    TQelGuiStitchedSwitch* sw = nullptr;
    int changes = 0;
};

TEST_F(SwitchFixture, SettingValueFiresOnChangeOnlyForARealChangeAndOnlyWhenLoaded) {
    sw->SetValue(true);
    EXPECT_EQ(changes, 0) << "not loaded yet";
    sw->NotifyLoaded();
    sw->SetValue(true);
    EXPECT_EQ(changes, 0);
    sw->SetValue(false);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(sw->Value());
}

TEST_F(SwitchFixture, LeftAndRightPressesToggleTheMiddleButtonDoesNot) {
    sw->NotifyLoaded();
    h.Click({15, 15});
    EXPECT_TRUE(sw->Value());
    h.Click({15, 15}, MouseButton::Right);
    EXPECT_FALSE(sw->Value());
    h.Click({15, 15}, MouseButton::Middle);
    EXPECT_FALSE(sw->Value());
    EXPECT_EQ(changes, 2);
}

TEST(SwitchGlyphs, StripIsTwoOpaqueGlyphsDarkForCarbonAndDarkBrightOtherwise) {
    struct Case {
        int style;
        std::uint32_t off;
        std::uint32_t on;
    };
    for (const Case c : {Case{0, 0x4C4C4C, 0x3F6183}, Case{1, 0x4C4C4C, 0x3F6183},
                         Case{2, 0x6F6F6F, 0x5182B3}, Case{4, 0x6F6F6F, 0x5182B3}}) {
        ActivateSkin(c.style);
        TQelGuiStitchedSwitch sw;
        sw.NotifyLoaded();
        const Image& strip = sw.GlyphStrip();
        ASSERT_EQ(strip.Width(), 24);
        ASSERT_EQ(strip.Height(), 48);
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 24; ++x) {
                ASSERT_EQ(strip.GetPixel(x, y).a, 255);
            }
        }
        EXPECT_EQ(strip.GetPixel(5, 5), Color::Rgb(c.off)) << c.style;
        EXPECT_EQ(strip.GetPixel(5, 24 + 5), Color::Rgb(c.on)) << c.style;
    }
    DeactivateSkin();
}

// ---- Menu button -----------------------------------------------------------------------

TEST(MenuButtonGlyph, ThreeBarsOnATransparentGround) {
    const Image glyph = MakeMenuGlyph(Color::Rgb(0xABCDEF));
    ASSERT_EQ(glyph.Width(), 16);
    ASSERT_EQ(glyph.Height(), 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool bar =
                (y == 3 || y == 4 || y == 7 || y == 8 || y == 11 || y == 12) && x >= 2 && x <= 13;
            EXPECT_EQ(glyph.GetPixel(x, y), bar ? Color::Rgb(0xABCDEF) : Color::Transparent())
                << x << "," << y;
        }
    }
}

TEST(MenuButtonGlyph, GlyphsFollowTheSkinAndSwitchWhilePressed) {
    ActivateSkin(2);
    Harness h;
    auto& button = h.root.Content()->Add<TQelMenuButton>();
    button.SetPosition(0, 0);
    EXPECT_EQ(button.Width(), 26);
    h.root.Content()->NotifyLoaded();
    EXPECT_EQ(button.Glyph(0).GetPixel(2, 3), ActiveSkin().ButtonNormal.Text);
    EXPECT_EQ(button.Glyph(1).GetPixel(2, 3), ActiveSkin().ButtonPressed.Text);
    EXPECT_EQ(button.ShownGlyph(), 0);
    h.Press({5, 5});
    EXPECT_EQ(button.ShownGlyph(), 1);
    h.Release({5, 5});
    EXPECT_EQ(button.ShownGlyph(), 0);

    DeactivateSkin();
    TQelMenuButton plain;
    plain.NotifyLoaded();
    EXPECT_TRUE(plain.Glyph(0).IsEmpty()) << "no glyph without a skin";
}

} // namespace
} // namespace ostinel::gui
