#include <gtest/gtest.h>

#include "app/edge_snap.h"
#include "app/main_window_fixture.h"

// The transport strip, the slider and the main window's own mouse regions,
// driven by mouse events on the headless host.
namespace zcd {
namespace {

using test::MainWindowTest;

MouseEvent Event(MouseAction action, Point at, Point screen = {400, 300},
                 MouseButton button = MouseButton::kLeft) {
  return {action, button, at, screen, false};
}

class ControlsTest : public MainWindowTest {
 protected:
  void Click(HeadlessWindowHost* host, Point at) { Click(host, at, at); }
  void Click(HeadlessWindowHost* host, Point press, Point release) {
    host->Mouse(Event(MouseAction::kPress, press));
    host->Mouse(Event(MouseAction::kRelease, release));
    Drain();
  }
  // The strip's button `index` in full mode, at its middle.
  Point Button(int index) {
    const StripButton& b = window_->control_strip()->buttons()[index];
    return {b.x + b.width / 2, 12};
  }
};

TEST_F(ControlsTest, StripHitsBothEndsOfAButtonAndHalfSizeInTheBar) {
  Start();
  const ControlStrip& strip = *window_->control_strip();
  struct Case {
    Point at;
    int full;
  };
  // Shared columns go to the first button in order.
  for (const Case& c : {Case{{0, 0}, 0}, Case{{29, 24}, 0}, Case{{30, 5}, 1}, Case{{163, 5}, 5},
                        Case{{164, 5}, -1}, Case{{50, 25}, -1}}) {
    EXPECT_EQ(strip.HitTest(c.at), c.full) << c.at.x << "," << c.at.y;
  }
  Post(kCmdToggleLayoutKey);
  for (const Case& c : {Case{{40, 5}, 2}, Case{{41, 5}, 3}, Case{{53, 12}, 3}, Case{{54, 5}, 4},
                        Case{{41, 13}, -1}}) {
    EXPECT_EQ(strip.HitTest(c.at), c.full) << "shade " << c.at.x << "," << c.at.y;
  }
}

TEST_F(ControlsTest, ButtonsPlayStopAndSendNothingWhenReleasedElsewhere) {
  Start();
  HeadlessWindowHost* strip = Child(WindowId::kControls);
  Click(strip, Button(5), Button(4));
  EXPECT_FALSE(Cd().playing);
  EXPECT_FALSE(window_->control_strip()->buttons()[5].pressed);
  Click(strip, Button(5));
  EXPECT_TRUE(Cd().playing);
  EXPECT_NE(host_->caption().find("Track 1"), std::string::npos) << host_->caption();

  // Paused, Pause blinks on the strip's own timer; playing again ends it.
  Click(strip, Button(4));
  ASSERT_TRUE(Cd().paused);
  ASSERT_TRUE(strip->timers().contains(kPauseBlinkTimer));
  strip->FireTimer(kPauseBlinkTimer);
  EXPECT_TRUE(window_->control_strip()->buttons()[4].blink);
  Click(strip, Button(5));
  EXPECT_FALSE(Cd().paused);
  EXPECT_FALSE(strip->timers().contains(kPauseBlinkTimer));
  EXPECT_FALSE(window_->control_strip()->buttons()[4].blink);

  Click(strip, Button(3));
  EXPECT_FALSE(Cd().playing);
}

TEST_F(ControlsTest, HoverLightsOnlyThePressedButtonWhileHeld) {
  Start();
  HeadlessWindowHost* strip = Child(WindowId::kControls);
  const auto& buttons = window_->control_strip()->buttons();
  strip->Mouse(Event(MouseAction::kMove, Button(2)));
  EXPECT_TRUE(buttons[2].hover);
  strip->Mouse(Event(MouseAction::kPress, Button(2)));
  strip->Mouse(Event(MouseAction::kMove, Button(3)));
  EXPECT_FALSE(buttons[2].hover);
  EXPECT_FALSE(buttons[3].hover);
  strip->Mouse(Event(MouseAction::kRelease, Button(3)));
  strip->Mouse(Event(MouseAction::kMove, Button(3)));
  EXPECT_TRUE(buttons[3].hover);
  strip->Mouse(Event(MouseAction::kLeave, {}));
  EXPECT_FALSE(buttons[3].hover);
}

TEST_F(ControlsTest, TimerModePiecesAndPlayModeLabels) {
  Start();
  struct Case {
    Point at;
    int from;
    int to;
  };
  // x 111..115 lies between the pieces; the rest of the timer does nothing.
  for (const Case& c :
       {Case{{105, 30}, 2, 0}, Case{{105, 40}, 0, 2}, Case{{130, 30}, 3, 2}, Case{{130, 40}, 2, 3},
        Case{{113, 30}, 1, 1}, Case{{115, 40}, 0, 0}, Case{{30, 35}, 3, 3}}) {
    settings_.TimerType = c.from;
    EXPECT_TRUE(host_->Mouse(Event(MouseAction::kPress, c.at)));
    EXPECT_EQ(settings_.TimerType, c.to) << c.at.x << "," << c.at.y;
  }
  Post(kCmdToggleLayoutKey);
  settings_.TimerType = 3;
  host_->Mouse(Event(MouseAction::kPress, {230, 8}));
  EXPECT_EQ(settings_.TimerType, 2);

  Post(kCmdToggleLayoutKey);
  settings_.PlayType = 0;
  host_->Mouse(Event(MouseAction::kPress, {180, 25}));
  EXPECT_EQ(settings_.PlayType, 1);
  host_->Mouse(Event(MouseAction::kPress, {180, 35}));  // repeat one ends repeat all
  EXPECT_EQ(settings_.PlayType, 2);
  host_->Mouse(Event(MouseAction::kPress, {180, 50}));
  EXPECT_EQ(settings_.PlayType, 6);
}

TEST_F(ControlsTest, TitleButtonsActOnlyWhenReleasedWhereTheyWerePressed) {
  Start();
  host_->Mouse(Event(MouseAction::kPress, {288, 8}));
  host_->Mouse(Event(MouseAction::kRelease, {200, 8}));
  EXPECT_FALSE(window_->destroyed());
  host_->Mouse(Event(MouseAction::kPress, {274, 8}));
  host_->Mouse(Event(MouseAction::kRelease, {274, 14}));
  EXPECT_EQ(host_->State(), ShowState::kMinimized);
  host_->Show(ShowState::kNormal);
  host_->Mouse(Event(MouseAction::kPress, {288, 8}));
  host_->Mouse(Event(MouseAction::kRelease, {288, 8}));
  EXPECT_TRUE(window_->destroyed());
  EXPECT_EQ(host_->exit_code(), 0);
}

TEST(EdgeSnapTest, SnapsCloserThanTheDistanceOnEachSide) {
  const Rect work{0, 30, 1280, 770};
  struct Case {
    Point wanted;
    Point rests;
  };
  for (const Case& c : {Case{{5, 300}, {0, 300}}, Case{{10, 300}, {10, 300}},
                        Case{{-9, 300}, {0, 300}}, Case{{1280 - 297 - 6, 300}, {983, 300}},
                        Case{{500, 36}, {500, 30}}, Case{{500, 800 - 162 + 9}, {500, 638}}}) {
    const Rect rest = SnapToWorkArea({c.wanted.x, c.wanted.y, 297, 162}, work, 10);
    EXPECT_EQ((Point{rest.x, rest.y}), c.rests) << c.wanted.x << "," << c.wanted.y;
  }
}

TEST_F(ControlsTest, TitleStripMovesTheWindowAndADoubleClickDocksTheBar) {
  Start();
  host_->SetGeometry({400, 200, kMainWidth, kMainFullHeight});
  // Taken at client 100,5: the window's corner is 101,6 screen pixels away.
  host_->Mouse(Event(MouseAction::kPress, {100, 5}, {501, 206}));
  host_->Mouse(Event(MouseAction::kMove, {100, 5}, {106, 236 + 6}));
  EXPECT_EQ(host_->Geometry(), (Rect{0, 236, kMainWidth, kMainFullHeight}));
  host_->Mouse(Event(MouseAction::kRelease, {100, 5}));
  host_->Mouse(Event(MouseAction::kMove, {100, 5}, {600, 600}));
  EXPECT_EQ(host_->Geometry().y, 236);

  // Resting on the bottom of the work area, the bar stays there.
  host_->SetGeometry({0, 800 - kMainFullHeight, kMainWidth, kMainFullHeight});
  host_->Mouse(Event(MouseAction::kDoubleClick, {100, 5}));
  EXPECT_EQ(window_->layout(), LayoutMode::kShade);
  EXPECT_EQ(host_->Geometry(), (Rect{0, 800 - kMainShadeHeight, kMainWidth, kMainShadeHeight}));
  EXPECT_EQ(Child(WindowId::kSlider)->State(), ShowState::kHidden);
  host_->Mouse(Event(MouseAction::kDoubleClick, {100, 5}));
  EXPECT_EQ(window_->layout(), LayoutMode::kFull);
  EXPECT_EQ(host_->Geometry().y, 800 - kMainFullHeight);
}

TEST_F(ControlsTest, SliderDragShowsTheTimeAndSeeksOnRelease) {
  Start();
  HeadlessWindowHost* slider = Child(WindowId::kSlider);
  PositionSlider& thumb = *window_->slider();
  // Nothing plays: a press does nothing.
  Click(slider, {100, 5});
  EXPECT_EQ(thumb.percent(), 0);

  Post(kCmdPlayKey);  // SliderType 3 follows TimerType 0: the track, 200 s
  slider->Mouse(Event(MouseAction::kPress, {5, 5}));
  slider->Mouse(Event(MouseAction::kMove, {88, 5}));
  EXPECT_EQ(thumb.thumb_x(), 83);
  EXPECT_EQ(thumb.percent(), 50);
  EXPECT_EQ(window_->shown().timer, 100);
  // The tick neither moves the dragged thumb nor takes the timer back.
  Tick();
  EXPECT_EQ(thumb.thumb_x(), 83);
  EXPECT_EQ(window_->shown().timer, 100);
  slider->Mouse(Event(MouseAction::kRelease, {88, 5}));
  Drain();
  EXPECT_EQ(UnpackTmsf(Cd().GetPosition()), (TrackPosition{1, 1, 40, 0}));

  // A groove click counts only when released on the groove.
  Click(slider, {150, 5}, {150, 13});
  EXPECT_EQ(thumb.percent(), 50);
  Click(slider, {49, 5});
  EXPECT_EQ(thumb.percent(), 25);
  EXPECT_EQ(UnpackTmsf(Cd().GetPosition()), (TrackPosition{1, 0, 50, 0}));
  settings_.TrackClick = 0;
  Click(slider, {10, 5});
  EXPECT_EQ(thumb.percent(), 25);
}

TEST_F(ControlsTest, SliderIgnoresOneTickThatWouldTakeTheThumbBackAfterASeek) {
  Start();
  Post(kCmdPlayKey);
  cd_.Advance(100);
  Tick();
  PositionSlider& slider = *window_->slider();
  ASSERT_EQ(slider.percent(), 50);
  Click(Child(WindowId::kSlider), {150, 5});
  ASSERT_EQ(slider.percent(), 76);
  slider.Update(50, false);  // the drive had not caught up
  EXPECT_EQ(slider.percent(), 76);
  slider.Update(50, false);
  EXPECT_EQ(slider.percent(), 50);
  slider.Update(0, true);
  EXPECT_EQ(slider.thumb_x(), 0);
}

}  // namespace
}  // namespace zcd
