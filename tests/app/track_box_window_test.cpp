// The track box window on the running main window: the headless host hands
// it mouse events and fires its timers, the virtual drive plays.
#include "app/track_box_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/main_window_fixture.h"
#include "skin/text_display.h"
#include "support/wait.h"

namespace zcd {
namespace {

class TrackBoxWindowTest : public test::MainWindowTest {
 protected:
  void StartWith(const std::vector<int>& track_seconds, const std::string& command_line = "") {
    cd_.drive->InsertDisc(MakeAudioDisc(track_seconds));
    Start(command_line);
  }
  // `count` tracks of a minute each.
  void StartWith(int count, const std::string& command_line = "") {
    StartWith(std::vector<int>(static_cast<size_t>(count), 60), command_line);
  }
  TrackBoxWindow& Window() { return *window_->track_box(); }
  const TrackBox& Box() { return Window().box(); }
  std::vector<int> OrderTracks() {
    std::vector<int> tracks;
    for (const TrackCell& cell : Order().cells())
      tracks.push_back(cell.track);
    return tracks;
  }
  // The middle of an entry's cell where the window shows it now.
  Point At(int index) {
    const Rect cell = Box().CellRect(index);
    return {cell.x + cell.w / 2, cell.y - Box().offset() + cell.h / 2};
  }
  void Mouse(MouseAction action, Point at, MouseButton button = MouseButton::kLeft,
             bool shift = false) {
    Tracks()->Mouse({action, button, at, {}, shift});
    Drain();
  }
  void Press(Point at, bool shift = false) {
    Mouse(MouseAction::kPress, at, MouseButton::kLeft, shift);
  }
  void Release(Point at) { Mouse(MouseAction::kRelease, at); }
  void MoveTo(Point at) { Mouse(MouseAction::kMove, at); }
  void Click(Point at, MouseButton button = MouseButton::kLeft) {
    Mouse(MouseAction::kPress, at, button);
    Mouse(MouseAction::kRelease, at, button);
  }
  // Drags the entry under `from` and drops it at `to`.
  void Drag(Point from, Point to, bool shift = false) {
    Press(from, shift);
    MoveTo({from.x + 5, from.y});
    MoveTo(to);
    Release(to);
  }
  void Send(uint32_t message, int wparam) {
    queue_.Post({WindowId::kTracks, message, wparam, 0});
    Drain();
  }
  bool Scrolling() { return Tracks()->timers().contains(TrackBoxWindow::kScrollTimer); }
  // Fires the scroll timer until the scroll ends; false if it never does.
  bool RunScroll() {
    for (int i = 0; i < 1000 && Scrolling(); ++i)
      Tracks()->FireTimer(TrackBoxWindow::kScrollTimer);
    return !Scrolling();
  }
  bool ScrollDownToTheEnd() {
    Press(kDownArrow);
    const bool ended = RunScroll();
    Release(kDownArrow);
    return ended;
  }
  bool ArrowShows(const Rect& at, const Rect& piece) {
    const Bitmap& sheet = window_->skin()[SkinFile::kTrackset];
    for (int y = 0; y < at.h; ++y)
      for (int x = 0; x < at.w; ++x)
        if (Box().surface().At(at.x + x, at.y + y) != sheet.At(piece.x + x, piece.y + y))
          return false;
    return true;
  }

  static constexpr Point kUpArrow{20, 127};
  static constexpr Point kDownArrow{50, 127};
};

TEST_F(TrackBoxWindowTest, FifteenEntriesLeaveTheArrowsOffUntilACopyMakesSixteen) {
  StartWith(15);
  ASSERT_EQ(Box().count(), 15);
  EXPECT_EQ(Tracks()->State(), ShowState::kNormal);
  EXPECT_TRUE(ArrowShows(kTrackArrowDownAt, kArrowDownPieces.disabled));
  Press(kDownArrow);
  EXPECT_FALSE(Scrolling());
  Release(kDownArrow);

  // A copy dropped beside the grid stays at the end as the sixteenth entry.
  Drag(At(0), {80, 60}, true);
  ASSERT_EQ(Box().count(), 16);
  EXPECT_TRUE(Order().cells()[15].copy);
  EXPECT_TRUE(ArrowShows(kTrackArrowUpAt, kArrowUpPieces.disabled));
  EXPECT_TRUE(ArrowShows(kTrackArrowDownAt, kArrowDownPieces.normal));

  ASSERT_TRUE(ScrollDownToTheEnd());
  EXPECT_EQ(Box().top_row(), 2);
  EXPECT_TRUE(ArrowShows(kTrackArrowUpAt, kArrowUpPieces.normal));
  EXPECT_TRUE(ArrowShows(kTrackArrowDownAt, kArrowDownPieces.disabled));
}

TEST_F(TrackBoxWindowTest, ShortTracksGetNoEntryAndOnlyEntriesPlay) {
  settings_.IgnoreSec = 5;
  StartWith({200, 3, 180, 240});
  ASSERT_EQ(OrderTracks(), (std::vector<int>{1, 3, 4}));
  // A press released over another entry is no click.
  Press(At(2));
  Release(At(0));
  // Track 2 is on the disc but has no entry; track 9 and entry 3 are nowhere.
  Send(kMsgPlayTrack, 2);
  Send(kMsgPlayTrack, 9);
  Send(kMsgPlayEntry, 3);
  EXPECT_EQ(cd_.drive->PlayCount(), 0);

  Click(At(1));
  EXPECT_EQ(Current(), 1);
  EXPECT_EQ(cd_.drive->LastPlay()->from_track, 3);
  Send(kMsgPlayTrack, 4);
  EXPECT_TRUE(Cd().playing);
  EXPECT_EQ(Current(), 2);
}

TEST_F(TrackBoxWindowTest, ShiftDragMakesACopyThatARightClickErases) {
  StartWith(5);
  Drag(At(3), At(0), true);
  EXPECT_EQ(OrderTracks(), (std::vector<int>{4, 1, 2, 3, 4, 5}));
  EXPECT_TRUE(Order().cells()[0].copy);
  EXPECT_FALSE(Order().cells()[4].copy);
  EXPECT_FALSE(Window().dragging());

  // A copy goes; an original is crossed out, and back in.
  Click(At(0), MouseButton::kRight);
  EXPECT_EQ(OrderTracks(), (std::vector<int>{1, 2, 3, 4, 5}));
  Click(At(3), MouseButton::kRight);
  EXPECT_EQ(OrderTracks(), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(Order().cells()[3].removed);
  EXPECT_EQ(window_->shown().timer, 240);
  Click(At(3), MouseButton::kRight);
  EXPECT_FALSE(Order().cells()[3].removed);
}

TEST_F(TrackBoxWindowTest, AFullListDragsTheOriginalAndARightPressWaitsForTheLeft) {
  StartWith(3);
  while (Order().AppendEntry(1) >= 0) {
  }
  window_->monitor().OrderEdited();
  ASSERT_EQ(Box().count(), kMaxPlayOrderEntries);

  Press(At(1), true);
  MoveTo(At(0));
  EXPECT_EQ(Window().grabbed(), 1);
  Mouse(MouseAction::kPress, At(2), MouseButton::kRight);
  EXPECT_FALSE(Order().cells()[2].removed);
  Release(At(0));
  EXPECT_EQ(Order().EntryCount(), kMaxPlayOrderEntries);
  EXPECT_EQ(Order().EntryTrack(0), 2);
  EXPECT_EQ(Order().EntryTrack(1), 1);
  EXPECT_FALSE(Order().cells()[0].copy);
}

TEST_F(TrackBoxWindowTest, ADropOutsideKeepsTheOrderAndFindsTheCurrentEntryAgain) {
  StartWith(3);
  Order().AppendEntry(2, {.copy = true});
  window_->monitor().OrderEdited();
  Send(kMsgPlayEntry, 3);
  ASSERT_EQ(Current(), 3);
  const int plays = cd_.drive->PlayCount();

  Drag(At(0), {30, 300});
  EXPECT_EQ(OrderTracks(), (std::vector<int>{1, 2, 3, 2}));
  // The first entry holding the drive's track is current, played on from.
  EXPECT_EQ(Current(), 1);
  EXPECT_EQ(cd_.drive->PlayCount(), plays + 1);

  // Paused, a drop leaves the drive alone.
  Post(kCmdPauseKey);
  Drag(At(2), At(0));
  EXPECT_EQ(OrderTracks(), (std::vector<int>{3, 1, 2, 2}));
  EXPECT_EQ(cd_.drive->PlayCount(), plays + 1);
  EXPECT_EQ(Current(), 2);
}

TEST_F(TrackBoxWindowTest, DraggingJustAboveTheGridScrollsUpToTheFirstRow) {
  StartWith(30);
  ASSERT_TRUE(ScrollDownToTheEnd());
  ASSERT_EQ(Box().top_row(), 6);

  Press(At(15));
  MoveTo(At(16));
  MoveTo({30, -1});
  EXPECT_TRUE(Scrolling());
  MoveTo({31, -1});
  ASSERT_TRUE(RunScroll());
  EXPECT_EQ(Box().offset(), 0);
  Release(At(0));
  EXPECT_EQ(Order().EntryTrack(0), 16);
  EXPECT_EQ(Order().EntryTrack(1), 1);
}

TEST_F(TrackBoxWindowTest, ShadeModeShowsTheCurrentEntryAndFollowsPlayback) {
  StartWith(20);
  Send(kMsgPlayEntry, 13);
  Post(kCmdToggleLayout);
  ASSERT_EQ(Box().mode(), LayoutMode::kShade);
  EXPECT_EQ(Box().CellAt({8, 6}), 13);
  Post(kCmdNextTrackKey);
  Fire(PlayerTimer::kTrackFollow);
  ASSERT_TRUE(RunScroll());
  EXPECT_EQ(Box().CellAt({8, 6}), 14);
  // A click there plays that entry from its start.
  Post(kCmdPauseKey);
  Click({8, 6});
  EXPECT_FALSE(Cd().paused);
  EXPECT_EQ(cd_.drive->LastPlay()->from_track, 15);
}

TEST_F(TrackBoxWindowTest, FollowKeepsThePlayingEntryInViewExceptAfterAnArrow) {
  StartWith(30);
  Send(kMsgPlayEntry, 29);
  // An arrow press puts following off for ten seconds, then it comes back.
  Press(kUpArrow);
  EXPECT_EQ(Tracks()->timers().at(TrackBoxWindow::kFollowTimer), 10000);
  Release(kUpArrow);
  // Below the view: it becomes the last visible row.
  Fire(PlayerTimer::kTrackFollow);
  ASSERT_TRUE(RunScroll());
  EXPECT_EQ(Box().top_row(), 6);
  EXPECT_EQ(Tracks()->timers().at(TrackBoxWindow::kFollowTimer), 500);

  // Above the view: it becomes the top row; in view nothing moves.
  Send(kMsgPlayEntry, 3);
  Fire(PlayerTimer::kTrackFollow);
  ASSERT_TRUE(RunScroll());
  EXPECT_EQ(Box().top_row(), 2);
  Post(kCmdNextTrackKey);
  Fire(PlayerTimer::kTrackFollow);
  EXPECT_FALSE(Scrolling());
}

TEST_F(TrackBoxWindowTest, ALayoutChangeOrDiscRemovalEndsAScroll) {
  StartWith(30);
  for (const bool remove_disc : {false, true}) {
    Press(kDownArrow);
    Tracks()->FireTimer(TrackBoxWindow::kScrollTimer);
    ASSERT_TRUE(Scrolling());
    if (remove_disc) {
      cd_.drive->RemoveDisc();
      Poll();
    } else {
      Post(kCmdToggleLayout);
    }
    EXPECT_FALSE(Scrolling());
    EXPECT_FALSE(Box().scrolling());
    Release(kDownArrow);
    if (!remove_disc)
      Post(kCmdToggleLayout);
  }
  ASSERT_EQ(window_->play_order(), nullptr);
  EXPECT_EQ(Tracks()->State(), ShowState::kHidden);
  EXPECT_EQ(Box().count(), 0);
  // Late events find nothing to act on.
  MoveTo(At(0));
  for (int id : {TrackBoxWindow::kBlinkTimer, TrackBoxWindow::kFollowTimer,
                 TrackBoxWindow::kHoverTimer, TrackBoxWindow::kScrollTimer})
    Window().OnTimer(id);
  EXPECT_TRUE(Tracks()->timers().empty());
}

TEST_F(TrackBoxWindowTest, BlinkEndsWithPlaybackAndLeavesNoEntryLit) {
  auto second = cd_.table.AddVirtualDisc(MakeAudioDisc({60, 60}));
  ASSERT_TRUE(second.index);
  StartWith(3, "/autoplay");
  const std::function<void()> endings[] = {
      [&] { Post(kCmdStopKey); },
      [&] { Post(kCmdEjectKey); },
      [&] { Post(kCmdDriveBase + *second.index); },
  };
  for (const auto& end : endings) {
    Post(kCmdPlayKey);
    Fire(PlayerTimer::kTrackBlink);
    ASSERT_TRUE(Order().cells()[Current()].blink);
    end();
    EXPECT_FALSE(Tracks()->timers().contains(TrackBoxWindow::kBlinkTimer));
    for (const TrackCell& cell : Order().cells())
      EXPECT_FALSE(cell.blink);
    // The disc back in, for the next way to end.
    if (cd_.drive->DoorOpen()) {
      Poll();
      Post(kCmdEjectKey);
      Poll();
    }
  }
}

TEST_F(TrackBoxWindowTest, HoverShowsTheTrackUntilTheCursorLeaves) {
  StartWith({200, 180, 240});
  // The track line is drawn by its thread: wait for its slot.
  auto slot_becomes_blank = [&](bool blank) {
    return test::WaitUntil([&] { return ShowsBody(kTrackSlot) == blank; });
  };
  ASSERT_EQ(window_->shown().timer, 620);
  MoveTo(At(1));
  EXPECT_EQ(window_->shown().timer, 180);
  EXPECT_TRUE(slot_becomes_blank(false));
  MoveTo(At(2));
  EXPECT_FALSE(Order().cells()[1].hover);
  EXPECT_EQ(window_->shown().timer, 240);

  // Still inside: the watch goes on. Outside: everything as before.
  Tracks()->FireTimer(TrackBoxWindow::kHoverTimer);
  EXPECT_TRUE(Tracks()->timers().contains(TrackBoxWindow::kHoverTimer));
  Tracks()->set_cursor(Point{-5, 40});
  Tracks()->FireTimer(TrackBoxWindow::kHoverTimer);
  EXPECT_FALSE(Order().cells()[2].hover);
  EXPECT_EQ(window_->shown().timer, 620);
  EXPECT_TRUE(slot_becomes_blank(true));

  // While playing the timer keeps the time and the title comes back later.
  Post(kCmdPlayKey);
  MoveTo(At(2));
  EXPECT_TRUE(window_->shown().timer_lit);
  EXPECT_TRUE(host_->timers().contains(SpecOf(PlayerTimer::kDisplayRestore).id));
}

}  // namespace
}  // namespace zcd
