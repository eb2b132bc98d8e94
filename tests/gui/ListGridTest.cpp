#include "common/Error.h"
#include "gui/controls/DrawGrid.h"
#include "gui/controls/ListBox.h"
#include "gui/skins/Skin.h"

#include "gui/WidgetTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ostinel::gui {
namespace {

namespace Key = platform::Key;
using test::Harness;

// ---- List box ----------------------------------------------------------------------------

struct ListFixture : ::testing::Test {
    ListFixture() {
        list = &h.root.Content()->Add<TListBox>();
        // 5 rows of 20 pixels inside the 1-pixel frame; 3 columns of 100 pixels.
        list->SetBounds(10, 10, 302, 102);
        list->SetColumns(3);
        list->OnSelectionChange = [this] { ++selections; };
    }
    void Fill(int count) {
        for (int i = 0; i < count; ++i) {
            list->AddItem("preset " + std::to_string(i), i * 10);
        }
    }
    Harness h{400, 300};
    TListBox* list = nullptr;
    int selections = 0;
};

TEST_F(ListFixture, EntriesFillColumnsTopToBottomThenLeftToRight) {
    Fill(12);
    EXPECT_EQ(list->RowsPerColumn(), 5);
    EXPECT_EQ(list->ItemRect(0), Rect::FromSize(1, 1, 100, 20));
    EXPECT_EQ(list->ItemRect(7), Rect::FromSize(101, 41, 100, 20));
    EXPECT_EQ(list->ItemAtPos({150, 50}), 7);
    EXPECT_EQ(list->ItemAtPos({250, 90}), -1) << "slot 14 holds nothing";
    EXPECT_EQ(list->ItemData(7), 70);
    EXPECT_THROW((void)list->ItemText(12), Error);
}

TEST_F(ListFixture, MoreColumnsThanFitScrollSideways) {
    Fill(40); // 4 rows per column once the scroll bar takes its 17 pixels: 10 columns
    EXPECT_EQ(list->RowsPerColumn(), 4);
    list->SetItemIndex(39);
    EXPECT_EQ(list->TopIndex(), 7) << "the last column came into view";
    EXPECT_EQ(list->ItemRect(39).left, 1 + 2 * 100);
    h.Wheel({60, 40}, 120);
    EXPECT_EQ(list->TopIndex(), 6);
}

TEST_F(ListFixture, ClickSelectsDoubleClickReportsAndKeysMove) {
    Fill(12);
    int doubles = 0;
    list->OnDblClick = [&] { ++doubles; };
    h.Click({10 + 150, 10 + 50});
    EXPECT_EQ(list->ItemIndex(), 7);
    EXPECT_TRUE(list->HasFocus());
    h.Press({160, 60}, MouseButton::Left, {}, /*doubleClick=*/true);
    h.Release({160, 60});
    EXPECT_EQ(doubles, 1);
    h.Key(Key::Right);
    EXPECT_EQ(list->ItemIndex(), 11) << "one column to the right";
    h.Key(Key::Right);
    EXPECT_EQ(list->ItemIndex(), 11) << "stays on the last entry";
    h.Key(Key::Home);
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(selections, 3);
}

TEST_F(ListFixture, OwnerDrawsEachVisibleEntryWithItsState) {
    Fill(3);
    list->SetItemIndex(1);
    std::vector<std::pair<int, bool>> drawn;
    list->OnDrawItem = [&](Canvas& c, int index, const Rect& r, TOwnerDrawState state) {
        drawn.emplace_back(index, state.Selected);
        c.FillRect(r, list->ItemFillColor(state.Selected));
    };
    h.root.Update();
    EXPECT_EQ(drawn, (std::vector<std::pair<int, bool>>{{0, false}, {1, true}, {2, false}}));
    EXPECT_EQ(h.root.GetCanvas().GetPixel(10 + 1 + 50, 10 + 1 + 25), ActiveSkin().SelectionFace);
}

// ---- Draw grid ---------------------------------------------------------------------------

struct GridFixture : ::testing::Test {
    GridFixture() {
        grid = &h.root.Content()->Add<TDrawGrid>();
        grid->SetBounds(20, 20, 300, 200);
        grid->SetColCount(4);
        grid->SetRowCount(30);
        grid->SetDefaultRowHeight(20);
        grid->SetRowHeight(0, 26);
        for (const auto& [col, width] : {std::pair{0, 86}, {1, 38}, {2, 80}, {3, 60}}) {
            grid->SetColWidth(col, width);
        }
        grid->OnTopLeftChanged = [this] { ++topLeftChanges; };
        h.root.Update();
    }
    Harness h{400, 300};
    TDrawGrid* grid = nullptr;
    int topLeftChanges = 0;
};

TEST_F(GridFixture, CellsSitAfterTheirGridLines) {
    EXPECT_EQ(grid->CellRect(0, 0), Rect::FromSize(0, 0, 86, 26));
    EXPECT_EQ(grid->CellRect(2, 1), Rect::FromSize(87 + 39, 27, 80, 20));
    EXPECT_EQ(grid->CellRect(1, 3), Rect::FromSize(87, 27 + 2 * 21, 38, 20));
    // The line after a cell belongs to it for hit testing.
    EXPECT_EQ(grid->MouseCoord(86, 10), (TGridCoord{0, 0}));
    EXPECT_EQ(grid->MouseCoord(87, 26), (TGridCoord{1, 0}));
    EXPECT_EQ(grid->MouseCoord(87, 27), (TGridCoord{1, 1}));
    EXPECT_EQ(grid->MouseCoord(270, 50), (TGridCoord{})) << "right of the last column";
}

TEST_F(GridFixture, ScrollingMovesTheRowsBelowTheFixedRow) {
    EXPECT_TRUE(grid->VerticalScrollBarVisible());
    EXPECT_EQ(grid->GridClientWidth(), 300 - GetSystemScrollBarWidth());
    EXPECT_EQ(grid->VisibleRowCount(), (200 - 27) / 21);
    grid->SetTopRow(5);
    EXPECT_EQ(topLeftChanges, 1);
    EXPECT_EQ(grid->CellRect(0, 5).top, 27);
    EXPECT_TRUE(grid->CellRect(0, 4).IsEmpty()) << "scrolled away";
    EXPECT_EQ(grid->MouseCoord(10, 30), (TGridCoord{0, 5}));
    grid->SetTopRow(1000);
    EXPECT_EQ(grid->TopRow(), grid->MaxTopRow());
    EXPECT_EQ(grid->TopRow() + grid->VisibleRowCount(), grid->RowCount());
    grid->SetTopRow(0);
    EXPECT_EQ(grid->TopRow(), 1) << "never above the fixed row";
}

TEST_F(GridFixture, WheelIsOfferedToTheOwnerFirstThenScrollsOneRow) {
    h.Wheel({100, 100}, -120);
    EXPECT_EQ(grid->TopRow(), 2);
    std::vector<Point> offered;
    grid->OnMouseWheelUp = [&](Modifiers, Point p) {
        offered.push_back(p);
        return true;
    };
    h.Wheel({100, 100}, 120);
    EXPECT_EQ(grid->TopRow(), 2) << "handled by the owner";
    EXPECT_EQ(offered, (std::vector<Point>{Point{80, 80}}));
}

TEST_F(GridFixture, FixedCellClickComesAfterThePressBeforeTheReleaseAndMovesFollowTheDrag) {
    std::vector<std::string> log;
    grid->OnMouseDown = [&](const MouseEvent&) { log.push_back("down"); };
    grid->OnFixedCellClick = [&](int c, int r) {
        log.push_back("fixed " + std::to_string(c) + "," + std::to_string(r));
    };
    grid->OnMouseUp = [&](const MouseEvent&) { log.push_back("up"); };
    grid->OnMouseMove = [&](Point p, Modifiers) {
        log.push_back("move " + std::to_string(p.x) + "," + std::to_string(p.y));
    };
    h.Press({30, 60}); // column 0, row 1
    EXPECT_TRUE(grid->HasFocus());
    h.MoveTo({390, 290}); // far outside the grid
    h.Release({390, 290});
    EXPECT_EQ(log, (std::vector<std::string>{"down", "fixed 0,1", "move 370,270", "up"}));
    log.clear();
    h.Click({150, 60}); // a data cell
    EXPECT_EQ(log, (std::vector<std::string>{"move 130,40", "down", "up"}));
}

TEST_F(GridFixture, RepaintRequestsCoverTheCellOrTheColumn) {
    h.root.Update();
    grid->InvalidateCell(2, 1);
    ASSERT_EQ(h.root.DirtyRects().size(), 1u);
    EXPECT_EQ(h.root.DirtyRects()[0], Rect::FromSize(20 + 126, 20 + 27, 81, 21));
    h.root.Update();
    grid->InvalidateCol(1);
    ASSERT_EQ(h.root.DirtyRects().size(), 1u);
    EXPECT_EQ(h.root.DirtyRects()[0], Rect::FromSize(20 + 87, 20, 39, 200));
}

TEST_F(GridFixture, PaintsFixedAndDataCellsInTheirColoursAndCallsTheOwner) {
    grid->SetFixedColor(Color::Rgb(0x111111));
    grid->SetCellColor(Color::Rgb(0x222222));
    grid->SetLineColor(Color::Rgb(0x333333));
    int calls = 0;
    grid->OnDrawCell = [&](Canvas&, int, int, const Rect&, TGridDrawState) { ++calls; };
    grid->InvalidateGrid();
    h.root.Update();
    const Canvas& c = h.root.GetCanvas();
    EXPECT_EQ(c.GetPixel(20 + 5, 20 + 5), Color::Rgb(0x111111));  // header
    EXPECT_EQ(c.GetPixel(20 + 5, 20 + 40), Color::Rgb(0x111111)); // fixed column
    EXPECT_EQ(c.GetPixel(20 + 100, 20 + 40), Color::Rgb(0x222222));
    EXPECT_EQ(c.GetPixel(20 + 86, 20 + 40), Color::Rgb(0x333333));  // vertical line
    EXPECT_EQ(c.GetPixel(20 + 100, 20 + 26), Color::Rgb(0x333333)); // below the header
    EXPECT_EQ(calls, 4 * (1 + 9)) << "every visible cell, the partly visible row included";
}

// ---- Skins -------------------------------------------------------------------------------

TEST(Skins, StyleValuesOutsideOneToFourSelectCarbon) {
    const std::pair<int, TSkinKind> cases[] = {
        {0, TSkinKind::Carbon}, {1, TSkinKind::Dark},    {2, TSkinKind::Light},
        {3, TSkinKind::Luna},   {4, TSkinKind::Smokey},  {5, TSkinKind::Carbon},
        {9, TSkinKind::Carbon}, {-1, TSkinKind::Carbon}, {1000, TSkinKind::Carbon}};
    for (const auto& [style, kind] : cases) {
        EXPECT_EQ(SkinKindForStyle(style), kind) << style;
        ActivateSkin(style);
        EXPECT_EQ(ActiveSkin().Kind, kind);
        EXPECT_TRUE(IsSkinActive());
    }
    DeactivateSkin();
    EXPECT_FALSE(IsSkinActive());
}

TEST(Skins, TheFiveLooksAreDistinctAndCarryTheNamedHighlights) {
    const char* names[] = {"Carbon", "Dark", "Light", "Luna", "Smokey"};
    const Color notes[] = {{80, 117, 29, 255},
                           {16, 104, 91, 255},
                           {162, 199, 228, 255},
                           {240, 176, 100, 255},
                           {248, 161, 126, 255}};
    for (int i = 0; i < 5; ++i) {
        const TSkin& a = GetSkin(static_cast<TSkinKind>(i));
        EXPECT_EQ(a.Name, names[i]);
        EXPECT_EQ(a.NoteHighlight, notes[i]);
        for (int j = i + 1; j < 5; ++j) {
            const TSkin& b = GetSkin(static_cast<TSkinKind>(j));
            EXPECT_NE(a.Panel, b.Panel) << i << " " << j;
            EXPECT_NE(a.ButtonNormal.Face, b.ButtonNormal.Face) << i << " " << j;
        }
        // Text must stand out from what it is drawn on.
        auto contrast = [](Color x, Color y) {
            return std::abs((x.r + x.g + x.b) - (y.r + y.g + y.b)) / 3;
        };
        EXPECT_GT(contrast(a.WindowText, a.Panel), 100) << names[i];
        EXPECT_GT(contrast(a.ButtonNormal.Text, a.ButtonNormal.Face), 100) << names[i];
        EXPECT_GT(contrast(a.GridText, a.GridCell), 100) << names[i];
        EXPECT_GT(contrast(a.MenuText, a.MenuFace), 100) << names[i];
        EXPECT_GT(contrast(a.EditText, a.EditFace), 100) << names[i];
    }
}

} // namespace
} // namespace ostinel::gui
