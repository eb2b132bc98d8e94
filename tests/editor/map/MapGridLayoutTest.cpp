// The map grid's fixed shape and the texts of its cells, without a window: columns, rows of a
// range, note labels, cell texts and info-line texts, the menus' group captions, and the list
// of held notes.
#include "editor/map/MapGridLayout.h"
#include "common/Error.h"
#include "editor/map/CellMenus.h"
#include "editor/map/CellValues.h"
#include "editor/map/HighlightedNotes.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <tuple>
#include <vector>

namespace ostinel::test {
namespace {

TEST(NoteLabel, TenCharactersForEveryNoteAndOctaveSetting) {
    const std::tuple<int, int, std::string> cases[] = {
        {-1, -2, ""},           {60, -2, "060 - C3  "},
        {0, -2, "000 - C-2 "},  {127, -2, "127 - G8  "},
        {120, 0, "120 - C10 "}, {121, 0, "121 - C#10"},
        {12, -1, "012 - C0  "}, {0, -1, "000 - C-1 "},
        {24, -1, "024 - C1  "}, {61, -2, "061 - C#3 "},
        {13, -2, "013 - C#-1"},
    };
    for (const auto& [note, octave, label] : cases) {
        EXPECT_EQ(NoteLabel(note, octave), label) << note << " " << octave;
        if (note >= 0) {
            EXPECT_EQ(NoteLabel(note, octave).size(), 10u) << note << " " << octave;
        }
    }
}

TEST(GridLayout, ColumnsKindsTargetsAndHeaders) {
    EXPECT_EQ(std::accumulate(kGridColWidths.begin(), kGridColWidths.end(), 0), 86 + 3 * 270);
    const std::tuple<int, TCellKind, int, std::string> cases[] = {
        {0, TCellKind::ckNoteLabel, -1, "NOTE"},
        {1, TCellKind::ckChannel, 0, "1-Ch"},
        {2, TCellKind::ckNote, 0, "1-Note"},
        {3, TCellKind::ckVelocityScale, 0, "1-Scale"},
        {4, TCellKind::ckRandom, 0, "1-Rnd"},
        {5, TCellKind::ckProbability, 0, "1-Prob"},
        {7, TCellKind::ckNote, 1, "2-Note"},
        {11, TCellKind::ckChannel, 2, "3-Ch"},
        {15, TCellKind::ckProbability, 2, "3-Prob"},
        {16, TCellKind::ckNone, -1, ""},
        {17, TCellKind::ckNone, -1, ""},
    };
    for (const auto& [col, kind, target, header] : cases) {
        EXPECT_EQ(ColumnKind(col), kind) << col;
        EXPECT_EQ(ColumnTargetIndex(col), target) << col;
        EXPECT_EQ(ColumnHeader(col), header) << col;
    }
}

TEST(GridLayout, RowsOfARangeHighestNoteOnTop) {
    EXPECT_EQ(RowCountForRange(60, 72), 14);
    EXPECT_EQ(NoteOfRow(1, 14, 60), 72);
    EXPECT_EQ(NoteOfRow(13, 14, 60), 60);
    EXPECT_EQ(RowOfNote(60, 14, 60), 13);
    EXPECT_EQ(RowCountForRange(0, 127), 129);
    EXPECT_EQ(RowCountForRange(64, 64), 2);
    EXPECT_EQ(RowCountForRange(80, 70), 1) << "an inverted range shows the header alone";
}

TEST(CellValues, TextsRoundHalfToEvenAndBlankOnEmptyTargets) {
    TOstinToItem t;
    t.SetChannel(5);
    t.SetProbability(50);
    EXPECT_TRUE(IsEmptyTarget(t));
    for (TCellKind kind : {TCellKind::ckChannel, TCellKind::ckNote, TCellKind::ckVelocityScale,
                           TCellKind::ckRandom, TCellKind::ckProbability})
        EXPECT_EQ(CellText(t, kind, -2), "");
    t.SetNote(60);
    EXPECT_EQ(CellText(t, TCellKind::ckChannel, -2), "5");
    EXPECT_EQ(CellText(t, TCellKind::ckNote, -2), "060 - C3  ");
    EXPECT_EQ(CellText(t, TCellKind::ckProbability, -2), "50%");
    const std::tuple<float, std::string> scales[] = {
        {12.5f, "12%"}, {13.5f, "14%"}, {-25, "-25%"}, {-0.5f, "0%"}};
    for (const auto& [scale, text] : scales) {
        t.SetVelocityScale(scale);
        EXPECT_EQ(CellText(t, TCellKind::ckVelocityScale, -2), text) << scale;
    }
    t.SetChannel(2.5f);
    EXPECT_EQ(CellText(t, TCellKind::ckChannel, -2), "2");
    t.SetNote(-0.5f);
    EXPECT_FALSE(IsEmptyTarget(t)) << "-0.5 rounds to note 0";
}

TEST(CellValues, InfoLineTexts) {
    TOstinToItem t;
    t.SetNote(64);
    t.SetChannel(10);
    t.SetVelocityScale(20);
    EXPECT_EQ(CellInfoText(t, TCellKind::ckVelocityScale, 2, -2), "3-Scale: 20%");
    t.SetRandom(30);
    EXPECT_EQ(CellInfoText(t, TCellKind::ckVelocityScale, 2, -2), "3-Scale: 20% <=> 50%");
    EXPECT_EQ(CellInfoText(t, TCellKind::ckChannel, 0, -2), "1-Channel: 10");
    EXPECT_EQ(CellInfoText(t, TCellKind::ckNote, 1, -2), "2-Note: 064 - E3  ");
    EXPECT_EQ(CellInfoText(t, TCellKind::ckRandom, 0, -2), "1-Random: 30");
    EXPECT_EQ(CellInfoText(t, TCellKind::ckProbability, 0, -2), "1-Note Probability: 100%");
    EXPECT_EQ(CellInfoText(t, TCellKind::ckNoteLabel, 0, -2), "");
}

TEST(CellValues, DefaultsOfACtrlPress) {
    EXPECT_EQ(CellDefault(TCellKind::ckChannel, 1, 40), 1.0f);
    EXPECT_EQ(CellDefault(TCellKind::ckNote, 0, 40), 40.0f);
    EXPECT_EQ(CellDefault(TCellKind::ckNote, 1, 40), -1.0f);
    EXPECT_EQ(CellDefault(TCellKind::ckNote, 2, 40), -1.0f);
    EXPECT_EQ(CellDefault(TCellKind::ckVelocityScale, 0, 40), 0.0f);
    EXPECT_EQ(CellDefault(TCellKind::ckRandom, 0, 40), 0.0f);
    EXPECT_EQ(CellDefault(TCellKind::ckProbability, 0, 40), 100.0f);
}

TEST(CellMenus, GroupCaptionsWithEnDashes) {
    const std::tuple<int, std::string, std::string, std::string> cases[] = {
        {0, "0 \xE2\x80\x93 9", "0% \xE2\x80\x93 9%", "0% \xE2\x80\x93 9%"},
        {95, "90 \xE2\x80\x93 99", "90% \xE2\x80\x93 100%", "90% \xE2\x80\x93 100%"},
        {100, "100 \xE2\x80\x93 109", "90% \xE2\x80\x93 100%", "90% \xE2\x80\x93 100%"},
        {200, "190 \xE2\x80\x93 200", "", ""},
        {-1, "", "-10% \xE2\x80\x93 -1%", ""},
        {-100, "", "-100% \xE2\x80\x93 -91%", ""},
        {-91, "", "-100% \xE2\x80\x93 -91%", ""},
    };
    for (const auto& [value, random, scale, probability] : cases) {
        if (!random.empty()) {
            EXPECT_EQ(RandomGroupCaption(value), random) << value;
        }
        if (!scale.empty()) {
            EXPECT_EQ(ScaleGroupCaption(value), scale) << value;
        }
        if (!probability.empty()) {
            EXPECT_EQ(ProbabilityGroupCaption(value), probability) << value;
        }
    }
}

TEST(CellMenus, StructureOfTheValueMenus) {
    TCellMenus menus({});
    menus.BuildChannelPopup();
    menus.BuildScalePopup();
    menus.BuildRandomPopup();
    menus.BuildProbabilityPopup();
    menus.BuildNotePopup({"Major;0,2,4,5,7,9,11", "  ", "Blues;0,3,5,6,7,10"}, -2);
    // "Set All", separator, then the values or groups.
    EXPECT_EQ(menus.popMapChannel().Items().Count(), 2u + 16u);
    EXPECT_EQ(menus.popMapScale().Items().Count(), 2u + 20u);
    EXPECT_EQ(menus.popMapRandom().Items().Count(), 2u + 20u);
    EXPECT_EQ(menus.popMapRandom().Items().Items(21).Count(), 11u) << "190 .. 200";
    EXPECT_EQ(menus.popMapNoteProb().Items().Count(), 2u + 10u);
    gui::TMenuItem& note = menus.popMapNote().Items();
    ASSERT_EQ(note.Count(), TCellMenus::kNoteFixedCount + 13u);
    const char* fixed[] = {"Learn",       "-", "Clear",      "Clear All",
                           "Default All", "-", "Load Scale", "-"};
    for (std::size_t i = 0; i < TCellMenus::kNoteFixedCount; ++i)
        EXPECT_EQ(note.Items(i).Caption, fixed[i]) << i;
    EXPECT_EQ(note.Items(8).Caption, "0 \xE2\x80\x93 9");
    EXPECT_EQ(note.Items(20).Caption, "120 \xE2\x80\x93 127");
    EXPECT_EQ(note.Items(20).Count(), 8u);
    EXPECT_EQ(note.Items(14).Items(4).Caption, "064 - E3  ");
    ASSERT_EQ(menus.LoadScaleMenu().Count(), 2u) << "a blank line gets no entry";
    EXPECT_EQ(menus.LoadScaleMenu().Items(1).Caption, "Blues");

    // Rebuilding after a lowest-octave change keeps the fixed part and renames the notes.
    menus.BuildNotePopup({"Major;0,2,4,5,7,9,11"}, 0);
    ASSERT_EQ(note.Count(), TCellMenus::kNoteFixedCount + 13u);
    EXPECT_EQ(note.Items(14).Items(4).Caption, "064 - E5  ");
    EXPECT_EQ(menus.LoadScaleMenu().Count(), 1u);
}

TEST(CellMenus, EntriesRunTheHandlersWithTheirKindAndValue) {
    std::vector<std::string> calls;
    TCellMenus menus({
        .Value =
            [&](TCellKind kind, int v) {
                calls.push_back("value " + std::to_string(static_cast<int>(kind)) + " " +
                                std::to_string(v));
            },
        .SetAll =
            [&](TCellKind kind) {
                calls.push_back("all " + std::to_string(static_cast<int>(kind)));
            },
        .Learn = nullptr,
        .Clear = nullptr,
        .ClearAll = [&] { calls.push_back("clear all"); },
        .DefaultAll = nullptr,
        .LoadScale =
            [&](std::size_t line, const std::string& caption) {
                calls.push_back("scale " + std::to_string(line) + " " + caption);
            },
    });
    menus.BuildRandomPopup();
    menus.BuildNotePopup({" ", "Major;0,2,4"}, -2);
    menus.popMapRandom().Items().Items(0).Click();
    menus.popMapRandom().Items().Items(21).Items(10).Click();
    menus.popMapNote().Items().Items(3).Click();
    menus.LoadScaleMenu().Items(0).Click();
    menus.popMapNote().Items().Items(0).Click(); // Learn: no handler, nothing happens
    const std::vector<std::string> expected = {"all 5", "value 5 200", "clear all",
                                               "scale 1 Major"};
    EXPECT_EQ(calls, expected);
}

TEST(HighlightedNotes, FindOrAddReleaseAndDelete) {
    THighlightedNotes notes;
    notes.FindOrAdd(60);
    notes.FindOrAdd(64);
    notes.FindOrAdd(60);
    EXPECT_EQ(notes.Count(), 2u) << "a note held again adds no second entry";
    EXPECT_FALSE(notes.Release(61));
    EXPECT_EQ(notes.Count(), 2u);
    EXPECT_TRUE(notes.Release(60));
    EXPECT_FALSE(notes.IsHeld(60));
    EXPECT_TRUE(notes.IsHeld(64));
    notes.FindOrAdd(60);
    EXPECT_TRUE(notes.Items(0).Released) << "an existing entry stays as it is";
    EXPECT_EQ(notes.IndexOfNote(64), 1);
    notes.Delete(0);
    EXPECT_EQ(notes.IndexOfNote(64), 0);
    EXPECT_THROW((void)notes.Items(5), Error);
}

} // namespace
} // namespace ostinel::test
