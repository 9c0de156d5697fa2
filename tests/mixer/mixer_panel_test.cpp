#include <tuple>

#include "mixer/mixer_fixture.h"
#include "skin/draw_number.h"
#include "support/golden.h"

namespace zcd::test {
namespace {

using MixerPanelTest = MixerTest;

// Far outside the panel on either side, as a drag with the mouse captured
// may go; the y is held in the knob's half.
constexpr Point kFarRightUp{400, -50};
constexpr Point kFarLeftUp{-300, -50};
constexpr Point kFarRightDown{400, 120};
constexpr Point kFarLeftDown{-300, 120};

TEST_F(MixerPanelTest, LevelKnobsDragToBothEndsAndFollowOnlyTheMixersNotice) {
  struct Row {
    KnobId knob;
    MixerControl control;
    Point press;
    Point right;
    Point left;
  };
  const Row rows[] = {
      {KnobId::kMaster, MixerControl::kMaster, {27, 6}, kFarRightUp, kFarLeftUp},
      {KnobId::kTreble, MixerControl::kTreble, {98, 6}, kFarRightUp, kFarLeftUp},
      {KnobId::kCdVolume, MixerControl::kCdVolume, {27, 46}, kFarRightDown, kFarLeftDown},
      {KnobId::kBass, MixerControl::kBass, {98, 46}, kFarRightDown, kFarLeftDown},
  };
  device_.ChangeFromOutside(MixerControl::kCdVolume, {40000, 40000});
  Make();
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.knob));
    const MixerKnob& knob = Knob(row.knob);
    const MixerBounds bounds = device_.Bounds(row.control);
    Panel(MouseAction::kPress, row.press);
    const int64_t before = knob.value();
    Panel(MouseAction::kMove, row.right);
    EXPECT_EQ(Channels(row.control).front(), bounds.maximum);
    // The mixer took it, but the knob waits for the mixer to say so.
    EXPECT_EQ(knob.value(), before);
    device_.DeliverNotices();
    EXPECT_EQ(knob.value(), bounds.Span());
    EXPECT_EQ(knob.angle(), LayoutOf(row.knob).end);
    EXPECT_EQ(knob.Label(), 99);

    Panel(MouseAction::kMove, row.left);
    EXPECT_EQ(Channels(row.control).front(), bounds.minimum);
    device_.DeliverNotices();
    EXPECT_EQ(knob.angle(), LayoutOf(row.knob).start);
    EXPECT_EQ(knob.Label(), 0);
    Panel(MouseAction::kRelease, row.left);
    EXPECT_FALSE(knob.dragging());
  }
}

// Past a knob's half the point and the cursor are held at its edge; inside
// it the cursor is left alone.
TEST_F(MixerPanelTest, ADragPastTheKnobsHalfHoldsTheCursorAtItsEdge) {
  Make();
  const std::tuple<Point, Point, Point> rows[] = {
      {{27, 6}, {0, 60}, {0, 24}},       // master: upper
      {{27, 46}, {60, 0}, {60, 28}},     // CD volume: lower
      {{175, 6}, {150, 50}, {150, 40}},  // balance: the whole ring above row 41
  };
  for (const auto& [press, to, held] : rows) {
    panel_host_->set_cursor(std::nullopt);
    Panel(MouseAction::kPress, press);
    Panel(MouseAction::kMove, {to.x, held.y});
    EXPECT_EQ(panel_host_->CursorPosition(), std::nullopt);
    Panel(MouseAction::kMove, to);
    EXPECT_EQ(panel_host_->CursorPosition(), held);
    Panel(MouseAction::kRelease, to);
  }
}

TEST_F(MixerPanelTest, APressTakesTheFirstKnobWhoseRingAndHalfHoldIt) {
  device_.Remove(MixerControl::kTreble);
  const std::pair<Point, std::optional<KnobId>> rows[] = {
      {{27, 10}, KnobId::kMaster},    // 16 from the centre
      {{27, 11}, std::nullopt},       // 15: inside the ring
      {{27, -2}, KnobId::kMaster},    // 28
      {{10, 26}, std::nullopt},       // the centre row belongs to neither half
      {{27, 43}, KnobId::kCdVolume},  // 17 below
      {{98, 6}, std::nullopt},        // treble is missing on this card
      {{170, 54}, KnobId::kBalance},  // 28 below: the balance takes any half
      {{150, 26}, KnobId::kBalance}, {{130, 26}, std::nullopt},  // 40 from both centres
  };
  Make();
  for (const auto& [at, knob] : rows) {
    SCOPED_TRACE(testing::Message() << at.x << "," << at.y);
    EXPECT_EQ(Panel(MouseAction::kPress, at), knob.has_value());
    for (int id = 0; id < kKnobCount; ++id)
      EXPECT_EQ(Knob(static_cast<KnobId>(id)).dragging(), knob == static_cast<KnobId>(id));
    Panel(MouseAction::kRelease, at);
  }
}

TEST_F(MixerPanelTest, BalanceSnapsToTheCentreAndItsLabelReadsDoubleZero) {
  Make();
  ASSERT_EQ(Knob(KnobId::kBalance).value(), 130);  // 28000 / 40000
  Panel(MouseAction::kPress, {175, 6});
  Panel(MouseAction::kMove, {172, 6});  // 185.7 degrees
  EXPECT_EQ(mixer_->balance(), 100);
  EXPECT_EQ(Channels(MixerControl::kCdVolume), (std::vector<int64_t>{40000, 40000}));
  device_.DeliverNotices();
  EXPECT_EQ(Knob(KnobId::kBalance).value(), 100);

  // The panel shows "00" at the balance label: painting two lit zeros there
  // changes nothing, painting anything else does.
  const Point label = LayoutOf(KnobId::kBalance).label_at;
  auto with_digits = [&](int tens, int units) {
    const Bitmap& numbers = skin_[SkinFile::kNumberset];
    Surface copy = panel_->surface();
    DrawNumber(copy, label.x, label.y, tens, true, NumberStyle::kSmall, numbers);
    DrawNumber(copy, label.x + kLabelDigitStep, label.y, units, true, NumberStyle::kSmall, numbers);
    return ToBitmap(copy);
  };
  const Bitmap shown = ToBitmap(panel_->surface());
  EXPECT_EQ(with_digits(0, 0), shown);
  EXPECT_NE(with_digits(3, 0), shown);
  EXPECT_NE(with_digits(0, 3), shown);

  // The label goes with the drag.
  Panel(MouseAction::kRelease, {172, 6});
  EXPECT_NE(with_digits(0, 0), ToBitmap(panel_->surface()));
}

TEST_F(MixerPanelTest, BalanceLeansTheCdVolumeFromItsMinimum) {
  // The same volume on a range from 0 and on one from below 0.
  for (const MixerBounds bounds : {MixerBounds{0, 65535}, MixerBounds{-4000, 61535}}) {
    SCOPED_TRACE(bounds.minimum);
    const int64_t full = bounds.minimum + 60000;
    device_.Add(MixerControl::kCdVolume, bounds, {full, full});
    Make();
    DragPanel({187, 16}, {187, 16});  // 150
    EXPECT_EQ(Channels(MixerControl::kCdVolume),
              (std::vector<int64_t>{bounds.minimum + 30000, full}));
    device_.DeliverNotices();
    // The louder channel is still the volume: turning the balance again
    // does not lose any of it.
    EXPECT_EQ(Knob(KnobId::kCdVolume).value(), 60000);
    EXPECT_EQ(Knob(KnobId::kBalance).value(), 150);
    DragPanel({150, 40}, {150, 40});  // far left: 1
    EXPECT_EQ(Channels(MixerControl::kCdVolume),
              (std::vector<int64_t>{full, bounds.minimum + 600}));
  }
}

TEST_F(MixerPanelTest, ABalanceNeedsTwoChannelsAndThenTheVolumeIsOneValue) {
  device_.Add(MixerControl::kCdVolume, {0, 100}, {40});
  Make();
  EXPECT_FALSE(Panel(MouseAction::kPress, {170, 46}));
  DragPanel({27, 46}, kFarRightDown);
  EXPECT_EQ(Channels(MixerControl::kCdVolume), std::vector<int64_t>{100});
}

TEST_F(MixerPanelTest, OutsideChangesMoveTheirKnobsAndTheShownPanelRereads) {
  Make();
  device_.ChangeFromOutside(MixerControl::kMaster, {-20 + 25});
  device_.ChangeFromOutside(MixerControl::kCdVolume, {50000, 20000});
  device_.DeliverNotices();
  EXPECT_EQ(Knob(KnobId::kMaster).value(), 25);
  EXPECT_EQ(Knob(KnobId::kCdVolume).value(), 50000);
  EXPECT_EQ(Knob(KnobId::kBalance).value(), 40);
  // Notices the panel missed: it catches up when shown.
  device_.ChangeFromOutside(MixerControl::kBass, {15});
  device_.ChangeFromOutside(MixerControl::kCdVolume, {10000, 20000});
  panel_->Refresh();
  EXPECT_EQ(Knob(KnobId::kBass).value(), 15);
  EXPECT_EQ(Knob(KnobId::kBalance).value(), 150);
}

TEST_F(MixerPanelTest, EqualBoundsLeaveTheKnobAtItsStart) {
  device_.Add(MixerControl::kMaster, {7, 7}, {7});
  Make();
  device_.ChangeFromOutside(MixerControl::kMaster, {8});  // a card that misreports
  device_.DeliverNotices();
  EXPECT_EQ(Knob(KnobId::kMaster).value(), 0);
  EXPECT_EQ(Knob(KnobId::kMaster).PointerAt(), (Point{0, 14}));
}

TEST_F(MixerPanelTest, WithoutAMixerDeviceTheFacesAreBareAndClicksDoNothing) {
  Make(/*no_device=*/true);
  for (Point at : {Point{27, 6}, Point{27, 46}, Point{98, 46}, Point{98, 6}, Point{170, 46}}) {
    EXPECT_FALSE(Panel(MouseAction::kPress, at));
    EXPECT_FALSE(Panel(MouseAction::kMove, kFarRightUp));
  }
  EXPECT_EQ(device_.sets(), 0);
  EXPECT_TRUE(MatchesGolden(ToBitmap(panel_->surface()), "mixer_panel_bare"));
}

}  // namespace
}  // namespace zcd::test
