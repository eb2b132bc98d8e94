// The map grid in the plug-in's editor window: its geometry and the header's, what the cells
// show, the hit test, dragging, Ctrl resets, the wheel, the preview on the note labels, and
// which cells each change asks to repaint.
#include "editor/map/MapEditorFixture.h"

#include <functional>
#include <set>

namespace ostinel::test {
namespace {

using gui::Rect;
using K = TCellKind;

// Column of a target's cell: offsets 0 Ch, 1 Note, 2 Scale, 3 Rnd, 4 Prob.
constexpr int ColOf(int targetIndex, int offset) {
    return TargetFirstColumn(targetIndex) + offset;
}

class MapGridTest : public MapEditorTest {
protected:
    // Shows a range the way a host load would: the model changes, the editor refreshes.
    void ShowRange(int from, int to) {
        Channel().SetRangeFrom(static_cast<float>(from));
        Channel().SetRangeTo(static_cast<float>(to));
        Form().RefreshHeader();
        Flush();
    }
    // Records the cells the grid paints from now on (the editor's painter still runs).
    void RecordPaints() {
        auto paint = Grid().OnDrawCell;
        Grid().OnDrawCell = [this, paint](gui::Canvas& canvas, int col, int row, const Rect& r,
                                          gui::TGridDrawState state) {
            painted.insert({col, row});
            paint(canvas, col, row, r, state);
        };
    }
    // The cells repainted because of `action` (everything pending is painted before).
    std::set<std::pair<int, int>> PaintedBy(const std::function<void()>& action) {
        Flush();
        painted.clear();
        action();
        Root().Update();
        return painted;
    }
    static std::set<std::pair<int, int>> WholeTarget(int targetIndex, int row) {
        std::set<std::pair<int, int>> cells;
        for (int offset = 0; offset < 5; ++offset)
            cells.insert({ColOf(targetIndex, offset), row});
        return cells;
    }

    std::set<std::pair<int, int>> painted;
};

TEST_F(MapGridTest, GeometryOfTheGridTheHeaderAndTheHeading) {
    EXPECT_EQ(Form().panMain().Bounds(), Rect::FromSize(3, 45, 944, 552));
    EXPECT_EQ(Grid().Bounds(), Rect::FromSize(6, 75, 932, 471));
    ASSERT_EQ(Grid().ColCount(), 17);
    for (int col = 0; col < 15; ++col)
        EXPECT_EQ(Grid().ColWidths(col), kGridColWidths[static_cast<std::size_t>(col)]) << col;
    EXPECT_EQ(Grid().ColWidths(15), 932 - 17 - 859) << "the rest, room kept for the scroll bar";
    EXPECT_EQ(Grid().ColWidths(16), 0);
    EXPECT_EQ(Grid().RowCount(), 129);
    EXPECT_EQ(Grid().RowHeights(0), 26);
    EXPECT_EQ(Grid().RowHeights(1), 20);
    EXPECT_EQ(Grid().TopRow(), 1);
    EXPECT_FALSE(Grid().TabStop());

    EXPECT_EQ(Form().switchActive().Bounds(), Rect::FromSize(6, 7, 24, 24));
    EXPECT_EQ(Form().lblChannel().Left(), 37);
    EXPECT_EQ(Form().lblChannel().Top(), 10);
    for (int i = 1; i <= 16; ++i) {
        EXPECT_EQ(Form().btnChannel(i).Bounds(), Rect::FromSize(524 + 26 * (i - 1), 8, 24, 24));
        EXPECT_EQ(Form().btnChannel(i).Caption(), std::to_string(i));
        EXPECT_EQ(Form().btnChannel(i).Tag(), i - 1);
    }
    EXPECT_EQ(Form().btnChannelMenu().Bounds(), Rect::FromSize(6, 45, 24, 24));
    EXPECT_FALSE(Form().btnChannelMenu().DropDownArrow());
    EXPECT_EQ(Form().inputRangeFrom().Bounds(), Rect::FromSize(86, 45, 44, 24));
    EXPECT_EQ(Form().lblRangeTo().Bounds(), Rect::FromSize(135, 45, 10, 25));
    EXPECT_EQ(Form().inputRangeTo().Bounds(), Rect::FromSize(148, 45, 44, 24));
    EXPECT_EQ(Form().lblRangeTo().Caption(), "-");
    EXPECT_EQ(Form().lblRange().Caption(), "Range");

    EXPECT_EQ(Form().btnPresets().Left(), 337);
    EXPECT_EQ(Form().btnPresets().Width(), 277);
    EXPECT_EQ(Form().panInfo().Left(), 661);
    EXPECT_EQ(Form().panInfo().Width(), 283);
    EXPECT_EQ(Form().lblInfo().Width(), 272);

    int width = 0;
    int height = 0;
    Form().GetPresetBrowserSize(width, height);
    EXPECT_EQ(width, 950 - 192);
    EXPECT_EQ(height, 600 - 128);
}

TEST_F(MapGridTest, RowsFollowTheRangeHighestNoteOnTop) {
    ShowRange(60, 72);
    EXPECT_EQ(Grid().RowCount(), 14);
    Form().HitTest(50, Grid().CellRect(0, 1).top + 5);
    EXPECT_EQ(Form().CellInfo().SourceNote, 72);
    Form().HitTest(50, Grid().CellRect(0, 13).top + 5);
    EXPECT_EQ(Form().CellInfo().SourceNote, 60);
    ShowRange(64, 64);
    EXPECT_EQ(Grid().RowCount(), 2);
    ShowRange(0, 127);
    EXPECT_EQ(Grid().RowCount(), 129);
}

TEST_F(MapGridTest, HitTestLeavesAMarginInDataCells) {
    const Rect r = Grid().CellRect(7, 3);
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;
    const std::tuple<int, int, K> cases[] = {
        {r.left + 1, midY, K::ckNone},   {r.left + 2, midY, K::ckNone},
        {r.left + 3, midY, K::ckNote},   {r.right - 3, midY, K::ckNote},
        {r.right - 2, midY, K::ckNone},  {midX, r.top + 1, K::ckNone},
        {midX, r.top + 2, K::ckNote},    {midX, r.bottom - 2, K::ckNote},
        {midX, r.bottom - 1, K::ckNone},
    };
    for (const auto& [x, y, kind] : cases) {
        Form().HitTest(x, y);
        EXPECT_EQ(Form().CellInfo().Kind, kind) << x << "," << y;
    }
    Form().HitTest(midX, midY);
    const TCellInfo hit = Form().CellInfo();
    EXPECT_EQ(hit.Col, 7);
    EXPECT_EQ(hit.Row, 3);
    EXPECT_EQ(hit.TargetIndex, 1);
    EXPECT_EQ(hit.SourceNote, 125);
    EXPECT_EQ(hit.MouseX, midX);

    // The label column has no margin and no target.
    Form().HitTest(0, midY);
    EXPECT_EQ(Form().CellInfo().Kind, K::ckNoteLabel);
    EXPECT_EQ(Form().CellInfo().SourceNote, 125);
    EXPECT_EQ(Form().CellInfo().TargetIndex, -1);
    // The header row reports its column's kind and no note.
    Form().HitTest(midX, 10);
    EXPECT_EQ(Form().CellInfo().Row, 0);
    EXPECT_EQ(Form().CellInfo().SourceNote, -1);
    // Below the last row: nothing.
    ShowRange(64, 64);
    Form().HitTest(midX, 300);
    EXPECT_EQ(Form().CellInfo().Kind, K::ckNone);
    EXPECT_EQ(Form().CellInfo().Col, -1);
}

// Whether any pixel of a root rectangle differs from `ground`.
bool HasInk(const gui::Image& shot, const Rect& r, gui::Color ground) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (shot.GetPixel(x, y) != ground)
                return true;
    return false;
}
bool HasColour(const gui::Image& shot, const Rect& r, gui::Color colour) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (shot.GetPixel(x, y) == colour)
                return true;
    return false;
}

TEST_F(MapGridTest, CellsOfAnEmptyTargetAreBlankWhateverTheyHold) {
    Target(127, 1).SetChannel(5);
    Target(127, 1).SetProbability(50);
    Grid().InvalidateGrid();
    Flush();
    const gui::TSkin& skin = gui::ActiveSkin();
    for (int offset = 0; offset < 5; ++offset)
        EXPECT_FALSE(HasInk(Window().Screen(), CellRootRect(ColOf(1, offset), 1), skin.GridCell))
            << offset;
    // Carbon writes the values in the button-text colour, the labels in the grid's.
    EXPECT_TRUE(HasColour(Window().Screen(), CellRootRect(ColOf(0, 0), 1), skin.ButtonNormal.Text));
    EXPECT_TRUE(HasColour(Window().Screen(), CellRootRect(0, 1), skin.GridText));
    EXPECT_TRUE(HasColour(Window().Screen(), CellRootRect(2, 0), skin.GridFixedText));

    // A note dragged in from below -1: all five cells repaint and show their values.
    const int changes = Automations();
    Drag(CellCentre(ColOf(1, 1), 1), 2, -1);
    EXPECT_EQ(Target(127, 1).Note(), -0.5f);
    EXPECT_EQ(Automations(), changes + 1);
    Flush();
    for (int offset = 0; offset < 5; ++offset)
        EXPECT_TRUE(HasInk(Window().Screen(), CellRootRect(ColOf(1, offset), 1), skin.GridCell))
            << offset;
}

TEST_F(MapGridTest, LunaMovesTextsDown) {
    // The first row with ink in a cell, per skin.
    auto inkTop = [](const gui::Image& shot, const Rect& r, gui::Color ground) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (shot.GetPixel(x, y) != ground)
                    return y - r.top;
        return -1;
    };
    auto tops = [&](int style) {
        session->Close();
        Module().SetStyle(style);
        session->Open();
        Flush();
        const gui::TSkin& skin = gui::ActiveSkin();
        return std::tuple{inkTop(Window().Screen(), CellRootRect(0, 1), skin.GridFixed),
                          inkTop(Window().Screen(), CellRootRect(1, 1), skin.GridCell),
                          inkTop(Window().Screen(), CellRootRect(1, 0), skin.GridFixed)};
    };
    const auto [labelCarbon, valueCarbon, headerCarbon] = tops(0);
    const auto [labelLuna, valueLuna, headerLuna] = tops(3);
    EXPECT_EQ(labelLuna - labelCarbon, 3);
    EXPECT_EQ(valueLuna - valueCarbon, 1);
    EXPECT_EQ(headerLuna - headerCarbon, 1);
}

struct DragCase {
    const char* name;
    int offset; // cell of target 1
    float start;
    int moves;
    int dy;
    bool shift;
    float expected;
};

TEST_F(MapGridTest, DraggingStepsOncePerMoveEvent) {
    const DragCase cases[] = {
        {"channel up 40", 0, 1, 40, -1, false, 11},
        {"channel stops at 16", 0, 11, 40, -1, false, 16},
        {"shift: 10 moves are 0.5", 4, 50, 10, -1, true, 50.5f},
        {"probability stops at 100", 4, 100, 10, -1, true, 100},
        {"down lowers", 2, 0, 8, 1, false, -2},
        {"30 pixels in one event: one step", 3, 10, 1, -30, false, 10.25f},
        {"same y: nothing", 3, 10, 2, 0, false, 10},
    };
    for (const DragCase& c : cases) {
        TOstinToItem& target = Target(127, 0);
        SetCellValue(target, ColumnKind(ColOf(0, c.offset)), c.start);
        const int changes = Automations();
        Drag(CellCentre(ColOf(0, c.offset), 1), c.moves, c.dy, {c.shift, false, false});
        EXPECT_NEAR(CellValue(target, ColumnKind(ColOf(0, c.offset))), c.expected, 1e-4) << c.name;
        const bool changed = c.expected != c.start || c.offset == 4;
        if (c.dy == 0) {
            EXPECT_EQ(Automations(), changes) << c.name << ": no change, no notice";
        } else if (changed) {
            EXPECT_EQ(Automations(), changes + 1) << c.name << ": told once, on release";
        }
        EXPECT_EQ(Form().DragLastY(), -1) << c.name;
        EXPECT_EQ(Form().CellInfo().Kind, K::ckNone) << c.name;
    }
}

TEST_F(MapGridTest, ADragStepRepaintsOnlyItsCellAndShowsTheValue) {
    RecordPaints();
    Grid().SetFocus(); // taking the focus repaints the grid; that is not this test's business
    using Cells = std::set<std::pair<int, int>>;
    const gui::Point p = CellCentre(ColOf(2, 2), 1);
    Target(127, 2).SetNote(40);
    Target(127, 2).SetVelocityScale(20);
    Target(127, 2).SetRandom(30);
    Grid().InvalidateGrid();
    EXPECT_EQ(PaintedBy([&] { Window().MouseDown(p); }), Cells{});
    EXPECT_EQ(Window().CurrentCursor(), gui::Cursor::SizeNS);
    EXPECT_EQ(Info(), "3-Scale: 20% <=> 50%");
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(PaintedBy([&] {
                      Window().MouseMove({p.x, p.y - i});
                  }),
                  (Cells{{ColOf(2, 2), 1}}));
    EXPECT_EQ(Info(), "3-Scale: 21% <=> 51%");
    Window().MouseUp({p.x, p.y - 4});
    EXPECT_EQ(Window().CurrentCursor(), gui::Cursor::Arrow);

    // A Note step that keeps the note repaints the cell; one that empties it the target.
    Target(127, 2).SetNote(0.25f);
    const gui::Point n = CellCentre(ColOf(2, 1), 1);
    Window().MouseDown(n);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(PaintedBy([&] {
                      Window().MouseMove({n.x, n.y + i});
                  }),
                  (Cells{{ColOf(2, 1), 1}}));
    EXPECT_EQ(Target(127, 2).Note(), -0.5f) << "still note 0";
    EXPECT_EQ(PaintedBy([&] { Window().MouseMove({n.x, n.y + 4}); }), WholeTarget(2, 1));
    EXPECT_TRUE(IsEmptyTarget(Target(127, 2)));
    Window().MouseUp(n);
}

struct ResetCase {
    int target;
    int offset;
    float start;
    float expected;
};

TEST_F(MapGridTest, CtrlPressPutsTheDefaultBack) {
    const ResetCase cases[] = {
        {0, 0, 5, 1},   {0, 1, 50, 127}, {1, 1, 64, -1},  {2, 1, 64, -1},
        {0, 2, -40, 0}, {0, 3, 90, 0},   {0, 4, 10, 100},
    };
    RecordPaints();
    Grid().SetFocus();
    for (const ResetCase& c : cases) {
        Target(127, c.target).SetNote(64);
        const K kind = ColumnKind(ColOf(c.target, c.offset));
        SetCellValue(Target(127, c.target), kind, c.start);
        Flush();
        const int changes = Automations();
        // The whole target is repainted.
        EXPECT_EQ(PaintedBy([&] {
                      Click(CellCentre(ColOf(c.target, c.offset), 1), gui::MouseButton::Left,
                            {false, true, false});
                  }),
                  WholeTarget(c.target, 1))
            << c.target << c.offset;
        EXPECT_EQ(CellValue(Target(127, c.target), kind), c.expected) << c.target << c.offset;
        EXPECT_EQ(Automations(), changes + 1);
        EXPECT_EQ(Info(), "");
    }
}

TEST_F(MapGridTest, CellsOfAnEmptyTargetOtherThanTheNoteAreNotEditable) {
    ASSERT_TRUE(IsEmptyTarget(Target(127, 1)));
    const int changes = Automations();
    Drag(CellCentre(ColOf(1, 2), 1), 8, -1);
    EXPECT_EQ(Target(127, 1).VelocityScale(), 0.0f);
    Window().MouseDown(CellCentre(ColOf(1, 2), 1), gui::MouseButton::Right);
    EXPECT_EQ(MenuView(), nullptr);
    Window().MouseUp(CellCentre(ColOf(1, 2), 1), gui::MouseButton::Right);
    EXPECT_EQ(MenuView(), nullptr);
    Wheel(CellCentre(ColOf(1, 4), 1), -2);
    EXPECT_EQ(Target(127, 1).Probability(), 100.0f);
    EXPECT_EQ(Automations(), changes);
    RightPress(ColOf(1, 1), 1);
    ASSERT_NE(MenuView(), nullptr);
    EXPECT_TRUE(Form().CellMenus().popMapNote().IsOpen());
}

TEST_F(MapGridTest, WheelChangesByHalfAndTellsTheHostEveryStep) {
    const gui::Point ch = CellCentre(ColOf(0, 0), 1);
    const int changes = Automations();
    Wheel(ch, 3);
    EXPECT_EQ(Target(127, 0).Channel(), 2.5f);
    EXPECT_EQ(CellText(Target(127, 0), K::ckChannel, -2), "2");
    EXPECT_EQ(Info(), "1-Channel: 2");
    EXPECT_EQ(Automations(), changes + 3);
    Wheel(ch, 1, {true, true, false}); // modifiers make no difference
    EXPECT_EQ(Target(127, 0).Channel(), 3.0f);
    Wheel(ch, -10);
    EXPECT_EQ(Target(127, 0).Channel(), 1.0f);

    // Over the labels or the header the rows scroll and no value changes.
    Wheel(CellCentre(0, 3), -1);
    EXPECT_EQ(Grid().TopRow(), 2);
    Wheel(CellCentre(5, 0), -2);
    EXPECT_EQ(Grid().TopRow(), 4);
    Wheel(CellCentre(0, 3), 10);
    EXPECT_EQ(Grid().TopRow(), 1);
    // The last rows: no further than the row count allows.
    ShowRange(100, 127);
    Wheel(CellCentre(0, 3), -20);
    EXPECT_EQ(Grid().TopRow() + Grid().VisibleRowCount(), Grid().RowCount());
    // A cell margin does nothing.
    const Rect r = CellRootRect(ColOf(0, 3), 1);
    const int before = Automations();
    Wheel({r.left + 1, (r.top + r.bottom) / 2}, 1);
    EXPECT_EQ(Target(127, 0).Random(), 0.0f);
    EXPECT_EQ(Automations(), before);
}

TEST_F(MapGridTest, ClickOnANoteLabelPreviewsTheRowWithVelocityFromX) {
    const Rect label = CellRootRect(0, 1);
    const std::tuple<int, int> cases[] = {{0, 0}, {43, 64}, {85, 126}};
    for (const auto& [x, velocity] : cases) {
        Click({label.left + x, label.top + 5});
        EXPECT_EQ(Info(), "PREVIEW: Note: 127 - G8   / Velocity: " + std::to_string(velocity));
        host.Clear();
        session->Play({});
        ASSERT_FALSE(host.events.empty()) << x;
        EXPECT_EQ(host.events[0], (MidiOut{0x90, 127, static_cast<std::uint8_t>(velocity), 0}));
    }
    // The header's label cell previews nothing.
    host.Clear();
    Click(CellCentre(0, 0));
    session->Play({});
    EXPECT_TRUE(host.events.empty());
}

TEST_F(MapGridTest, ScrollingEndsALearnAndLightRepaintsTheGrid) {
    Form().StartInputLearn(Form().inputRangeFrom());
    ASSERT_TRUE(Form().inputRangeFrom().Highlight());
    Wheel(CellCentre(0, 3), -1);
    EXPECT_FALSE(Form().inputRangeFrom().Highlight());
    EXPECT_EQ(Form().LearnTarget(), TfrmEditor::TLearnTarget::None);
    EXPECT_EQ(Module().LearnState(), kLearnNone);
}

} // namespace
} // namespace ostinel::test
