// The track box's picture and scroll state, drawn from the built-in skin.
// After a deliberate change of the look, review the *.actual.bmp files a
// failing run leaves and rerun with ZCD_UPDATE_GOLDEN=1.
#include "skin/track_box.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "skin/blit.h"
#include "skin/skin_set.h"
#include "support/golden.h"

namespace zcd {
namespace {

std::vector<TrackCell> Entries(int count) {
  std::vector<TrackCell> cells(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    cells[i].position = i;
    cells[i].track = i + 1;
  }
  return cells;
}

class TrackBoxTest : public ::testing::Test {
 protected:
  // Runs the scroll to its end; how many steps moved it.
  int RunScroll() {
    int steps = 0;
    while (box_.ScrollStep())
      ++steps;
    return steps;
  }

  SkinSet skin_ = LoadSkin("", "");
  Settings settings_;
  TrackBox box_{skin_, settings_};
};

TEST_F(TrackBoxTest, FifteenEntriesWithEveryStateAndOverlay) {
  std::vector<TrackCell> cells = Entries(15);
  cells[1].removed = true;
  cells[4].data = true;
  cells[6].copy = true;
  cells[8].hover = true;
  cells[10].held = true;
  cells[12].blink = true;
  cells[12].copy = true;
  cells[13].removed = true;
  cells[13].copy = true;
  box_.Layout(LayoutMode::kFull, cells, 0, true);
  EXPECT_TRUE(test::MatchesGolden(test::ToBitmap(box_.surface()), "tracks_full_15"));

  // Without XData a data track looks like any other.
  settings_.XData = 0;
  box_.RedrawAll(cells);
  const Bitmap without_marks = test::ToBitmap(box_.surface());
  cells[4].data = false;
  box_.RedrawAll(cells);
  EXPECT_TRUE(without_marks == test::ToBitmap(box_.surface()));
}

TEST_F(TrackBoxTest, SixteenEntriesEnableTheDownArrowWithACellDraggedOver) {
  std::vector<TrackCell> cells = Entries(16);
  box_.Layout(LayoutMode::kFull, cells, 0, true);
  TrackCell dragged = cells[3];
  dragged.removed = true;
  box_.SetDragImage(dragged, {40, 50});
  box_.SetPressedArrow(TrackArrow::kDown);
  box_.Compose();
  EXPECT_TRUE(test::MatchesGolden(test::ToBitmap(box_.surface()), "tracks_full_16"));
}

TEST_F(TrackBoxTest, ShadeCellShowsTheCurrentEntry) {
  // Each picture one bar cell: a blinking one-digit track, a two-digit copy,
  // a removed and a held data track.
  const int currents[] = {6, 11, 2, 4};
  Surface sheet(4 * 18, 13, Rgb(0x40, 0x40, 0x40));
  for (int i = 0; i < 4; ++i) {
    std::vector<TrackCell> cells = Entries(12);
    TrackCell& cell = cells[currents[i]];
    cell.blink = i == 0;
    cell.copy = i == 1;
    cell.removed = i == 2;
    cell.data = cell.held = i == 3;
    TrackBox box(skin_, settings_);
    box.Layout(LayoutMode::kShade, cells, currents[i], true);
    EXPECT_EQ(box.top_row(), currents[i] + 1);
    EXPECT_EQ((std::pair{box.surface().width(), box.surface().height()}), (std::pair{16, 13}));
    CopySurface(sheet, {i * 18, 0, 16, 13}, box.surface());
  }
  EXPECT_TRUE(test::MatchesGolden(test::ToBitmap(sheet), "tracks_shade"));
}

TEST_F(TrackBoxTest, ResetShowsTheCurrentEntryInTheLastVisibleRow) {
  using enum LayoutMode;
  const std::tuple<LayoutMode, int, int, int> cases[] = {// mode, entries, current, top row
                                                         {kFull, 30, 14, 1}, {kFull, 30, 15, 2},
                                                         {kFull, 30, 29, 6}, {kFull, 16, 15, 2},
                                                         {kFull, 0, 0, 1},   {kShade, 12, 11, 12}};
  for (const auto& [mode, count, current, top] : cases) {
    box_.Layout(mode, Entries(count), current, true);
    EXPECT_EQ(box_.top_row(), top) << count << " entries, current " << current;
  }
  EXPECT_EQ(box_.offset(), 11 * 14);
}

TEST_F(TrackBoxTest, HitTestsFindEntriesInViewAndTheArrows) {
  box_.Layout(LayoutMode::kFull, Entries(20), 0, true);
  ASSERT_TRUE(box_.RequestScroll(ScrollRequest::ToRow(3)));
  RunScroll();
  ASSERT_EQ(box_.offset(), 48);
  const std::tuple<Point, std::optional<int>, TrackArrow> cases[] = {
      {{0, 0}, 6, TrackArrow::kNone},    // the third row is on top
      {{23, 23}, 6, TrackArrow::kNone},  // the gap belongs to the cell before it
      {{24, 0}, 7, TrackArrow::kNone},
      {{48, 119}, std::nullopt, TrackArrow::kNone},  // entry 21 does not exist
      {{10, -1}, std::nullopt, TrackArrow::kNone},   // above the view, not the row hidden there
      {{70, 10}, std::nullopt, TrackArrow::kNone},
      {{10, 120}, std::nullopt, TrackArrow::kNone},
      {{4, 122}, std::nullopt, TrackArrow::kUp},
      {{37, 122}, std::nullopt, TrackArrow::kDown},
      {{3, 125}, std::nullopt, TrackArrow::kNone},
      {{40, 134}, std::nullopt, TrackArrow::kNone},
  };
  for (const auto& [at, cell, arrow] : cases) {
    SCOPED_TRACE(testing::Message() << at.x << "," << at.y);
    EXPECT_EQ(box_.CellAt(at), cell);
    EXPECT_EQ(box_.ArrowAt(at), arrow);
  }
  box_.Layout(LayoutMode::kShade, Entries(20), 7, true);
  EXPECT_EQ(box_.CellAt({15, 12}), 7);
  EXPECT_EQ(box_.CellAt({16, 5}), std::nullopt);
  EXPECT_EQ(box_.ArrowAt({4, 122}), TrackArrow::kNone);
}

TEST_F(TrackBoxTest, ScrollMovesFourPixelsAStepToTheRowAsked) {
  box_.Layout(LayoutMode::kFull, Entries(30), 0, true);
  box_.SetPressedArrow(TrackArrow::kDown);
  // The first step is taken at once.
  ASSERT_TRUE(box_.RequestScroll(ScrollRequest::ToRow(3)));
  EXPECT_EQ(box_.offset(), 4);
  EXPECT_EQ(box_.top_row(), 3);
  EXPECT_EQ(1 + RunScroll(), 12);
  EXPECT_EQ(box_.offset(), 48);
  EXPECT_FALSE(box_.scrolling());
  // A scroll that moved lets the arrows up.
  EXPECT_EQ(box_.pressed_arrow(), TrackArrow::kNone);
  // Back up: a 24-pixel row is six steps.
  ASSERT_TRUE(box_.RequestScroll(ScrollRequest::ToRow(2)));
  EXPECT_EQ(1 + RunScroll(), 6);
  EXPECT_EQ(box_.offset(), 24);
  // The composed view is the grid from the offset on.
  TrackBox still(skin_, settings_);
  still.Layout(LayoutMode::kFull, Entries(30), 3 + 12, true);
  ASSERT_EQ(still.offset(), 24);
  EXPECT_TRUE(test::ToBitmap(still.surface()) == test::ToBitmap(box_.surface()));
}

TEST_F(TrackBoxTest, RowByRowGoesOnWhileContinuousAndStopsAtTheEnds) {
  box_.Layout(LayoutMode::kFull, Entries(30), 0, true);
  // The row shown, or up from the top, starts nothing.
  EXPECT_FALSE(box_.RequestScroll(ScrollRequest::ToRow(1)));
  EXPECT_FALSE(box_.RequestScroll(ScrollRequest::Up()));
  EXPECT_FALSE(box_.continuous());
  ASSERT_TRUE(box_.RequestScroll(ScrollRequest::Down()));
  EXPECT_TRUE(box_.continuous());
  RunScroll();
  // Rows 2 to 6, then the bottom ends it.
  EXPECT_EQ(box_.top_row(), 6);
  EXPECT_EQ(box_.offset(), 120);
  EXPECT_FALSE(box_.continuous());

  // Let go half-way through a row: that row is finished, no more.
  ASSERT_TRUE(box_.RequestScroll(ScrollRequest::Up()));
  for (int i = 0; i < 8; ++i)
    box_.ScrollStep();
  EXPECT_EQ(box_.top_row(), 4);
  box_.set_continuous(false);
  RunScroll();
  EXPECT_EQ(box_.top_row(), 4);
  EXPECT_EQ(box_.offset(), 72);

  // The other way while running turns the scroll round.
  ASSERT_TRUE(box_.RequestScroll(ScrollRequest::Up()));
  box_.ScrollStep();
  ASSERT_TRUE(box_.RequestScroll(ScrollRequest::Down()));
  RunScroll();
  EXPECT_EQ(box_.top_row(), 6);
}

TEST_F(TrackBoxTest, QueuedRowWaitsForTheRunningScroll) {
  box_.Layout(LayoutMode::kFull, Entries(30), 0, true);
  ASSERT_TRUE(box_.RequestScroll(ScrollRequest::ToRow(2)));
  ASSERT_TRUE(box_.RequestScroll(ScrollRequest::ToRow(4)));
  // The newer request takes the queued one's place.
  ASSERT_TRUE(box_.RequestScroll(ScrollRequest::ToRow(5)));
  const int steps = 1 + RunScroll();
  EXPECT_EQ(box_.top_row(), 5);
  EXPECT_EQ(box_.offset(), 96);
  // 24 pixels to row 2, then 72 more, without a pause between them.
  EXPECT_EQ(steps, 24);
}

TEST_F(TrackBoxTest, LayoutAndStopEndTheScrollAndItsQueue) {
  box_.Layout(LayoutMode::kFull, Entries(30), 0, true);
  ASSERT_TRUE(box_.RequestScroll(ScrollRequest::ToRow(3)));
  box_.RequestScroll(ScrollRequest::ToRow(6));
  for (int i = 0; i < 3; ++i)
    box_.ScrollStep();  // 16 of 48 pixels
  box_.Layout(LayoutMode::kFull, Entries(40), 0, false);
  EXPECT_FALSE(box_.scrolling());
  EXPECT_FALSE(box_.ScrollStep());
  // Settled on the nearest row.
  EXPECT_EQ(box_.top_row(), 2);
  EXPECT_EQ(box_.offset(), 24);

  ASSERT_TRUE(box_.RequestScroll(ScrollRequest::Down()));
  box_.RequestScroll(ScrollRequest::ToRow(1));
  box_.StopScroll();
  EXPECT_FALSE(box_.continuous());
  EXPECT_FALSE(box_.ScrollStep());
  // The queued row went with it: the next scroll ends where it was asked to.
  ASSERT_TRUE(box_.RequestScroll(ScrollRequest::ToRow(3)));
  RunScroll();
  EXPECT_EQ(box_.top_row(), 3);

  // A shorter list keeps the top row where it still can be.
  box_.Layout(LayoutMode::kFull, Entries(16), 0, false);
  EXPECT_EQ(box_.top_row(), 2);
  box_.Layout(LayoutMode::kFull, Entries(12), 0, false);
  EXPECT_EQ(box_.offset(), 0);
}

}  // namespace
}  // namespace zcd
