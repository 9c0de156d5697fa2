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
    const MixerBounds bounds = device_.Bounds(row.control);
    const double start = SpecOf(row.knob).start;
    const double end = SpecOf(row.knob).end;

    Panel(MouseAction::kPress, row.press);
    EXPECT_TRUE(Knob(row.knob).dragging());
    const int64_t before = Knob(row.knob).value();
    Panel(MouseAction::kMove, row.right);
    EXPECT_EQ(Channels(row.control).front(), bounds.maximum);
    // The mixer took it, but the knob waits for the mixer to say so.
    EXPECT_EQ(Knob(row.knob).value(), before);
    device_.DeliverNotices();
    EXPECT_EQ(Knob(row.knob).value(), bounds.Span());
    EXPECT_EQ(Knob(row.knob).angle(), end);
    EXPECT_EQ(Knob(row.knob).Label(), 99);

    Panel(MouseAction::kMove, row.left);
    EXPECT_EQ(Channels(row.control).front(), bounds.minimum);
    device_.DeliverNotices();
    EXPECT_EQ(Knob(row.knob).value(), 0);
    EXPECT_EQ(Knob(row.knob).angle(), start);
    EXPECT_EQ(Knob(row.knob).Label(), 0);
    Panel(MouseAction::kRelease, row.left);
    EXPECT_FALSE(Knob(row.knob).dragging());
  }
}

TEST_F(MixerPanelTest, APressTakesTheFirstKnobWhoseRingAndHalfHoldIt) {
  device_.Remove(MixerControl::kTreble);
  struct Row {
    Point at;
    std::optional<KnobId> knob;
  };
  const Row rows[] = {
      {{27, 10}, KnobId::kMaster},    // 16 from the centre
      {{27, 11}, std::nullopt},       // 15: inside the ring
      {{27, -2}, KnobId::kMaster},    // 28
      {{10, 26}, std::nullopt},       // the centre row belongs to neither half
      {{27, 43}, KnobId::kCdVolume},  // 17 below
      {{27, 27 + 14}, std::nullopt},  // 15 below
      {{98, 46}, KnobId::kBass},
      {{98, 6}, std::nullopt},  // treble is missing on this card
      {{170, 46}, KnobId::kBalance},
      {{170, 54}, KnobId::kBalance},  // 28 below: the balance takes any half
      {{150, 26}, KnobId::kBalance},
      {{130, 26}, std::nullopt},  // 40 from both centres
  };
  Make();
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.at.x << "," << row.at.y);
    EXPECT_EQ(Panel(MouseAction::kPress, row.at), row.knob.has_value());
    for (int id = 0; id < kKnobCount; ++id)
      EXPECT_EQ(Knob(static_cast<KnobId>(id)).dragging(), row.knob == static_cast<KnobId>(id));
    Panel(MouseAction::kRelease, row.at);
  }
}

TEST_F(MixerPanelTest, BalanceSnapsToTheCentreAndItsLabelReadsDoubleZero) {
  Make();
  ASSERT_EQ(Knob(KnobId::kBalance).value(), 130);  // 28000 / 40000
  ASSERT_EQ(mixer_->balance(), 130);
  Panel(MouseAction::kPress, {175, 6});
  Panel(MouseAction::kMove, {172, 6});  // 185.7 degrees
  EXPECT_EQ(mixer_->balance(), 100);
  EXPECT_EQ(Channels(MixerControl::kCdVolume), (std::vector<int64_t>{40000, 40000}));
  device_.DeliverNotices();
  EXPECT_EQ(Knob(KnobId::kBalance).value(), 100);
  EXPECT_EQ(Knob(KnobId::kBalance).Label(), 0);

  // The panel shows "00" at the balance label: painting two lit zeros there
  // changes nothing, painting anything else does.
  const Point label = SpecOf(KnobId::kBalance).label_at;
  const Bitmap& numbers = skin_[SkinFile::kNumberset];
  auto with_digits = [&](int tens, int units) {
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
  struct Row {
    MixerBounds bounds;
    std::vector<int64_t> start;
    std::vector<int64_t> after;
  };
  const Row rows[] = {
      {{0, 65535}, {60000, 60000}, {30000, 60000}},
      // The same volume on a range that starts below 0.
      {{-4000, 61535}, {56000, 56000}, {26000, 56000}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.bounds.minimum);
    device_.Add(MixerControl::kCdVolume, row.bounds, row.start);
    Make();
    DragPanel({187, 16}, {});  // 150
    EXPECT_EQ(mixer_->balance(), 150);
    EXPECT_EQ(Channels(MixerControl::kCdVolume), row.after);
    device_.DeliverNotices();
    // The louder channel is still the volume: turning the balance again
    // does not lose any of it.
    EXPECT_EQ(Knob(KnobId::kCdVolume).value(), 60000);
    EXPECT_EQ(Knob(KnobId::kBalance).value(), 150);
    DragPanel({150, 40}, {});  // far left: 1
    EXPECT_EQ(Channels(MixerControl::kCdVolume),
              (std::vector<int64_t>{row.bounds.minimum + 60000, row.bounds.minimum + 600}));
  }
}

TEST_F(MixerPanelTest, ABalanceNeedsTwoChannelsAndThenTheVolumeIsOneValue) {
  device_.Add(MixerControl::kCdVolume, {0, 100}, {40});
  Make();
  EXPECT_FALSE(Knob(KnobId::kBalance).available());
  EXPECT_FALSE(Panel(MouseAction::kPress, {170, 46}));
  DragPanel({27, 46}, {kFarRightDown});
  EXPECT_EQ(Channels(MixerControl::kCdVolume), std::vector<int64_t>{100});
}

TEST_F(MixerPanelTest, OutsideChangesMoveTheirKnobsAndTheShownPanelRereads) {
  Make();
  device_.ChangeFromOutside(MixerControl::kMaster, {-20 + 25});
  device_.ChangeFromOutside(MixerControl::kCdVolume, {50000, 20000});
  device_.DeliverNotices();
  EXPECT_EQ(Knob(KnobId::kMaster).value(), 25);
  EXPECT_EQ(Knob(KnobId::kMaster).angle(), 235);
  EXPECT_EQ(Knob(KnobId::kCdVolume).value(), 50000);
  EXPECT_EQ(Knob(KnobId::kBalance).value(), 40);
  // Notices the panel missed: it catches up when shown.
  device_.ChangeFromOutside(MixerControl::kBass, {15});
  device_.ChangeFromOutside(MixerControl::kCdVolume, {10000, 20000});
  panel_->Refresh();
  EXPECT_EQ(Knob(KnobId::kBass).value(), 15);
  EXPECT_EQ(Knob(KnobId::kBalance).value(), 150);
  EXPECT_EQ(mixer_->balance(), 150);
}

TEST_F(MixerPanelTest, EqualBoundsLeaveTheKnobAtItsStart) {
  device_.Add(MixerControl::kMaster, {7, 7}, {7});
  Make();
  device_.ChangeFromOutside(MixerControl::kMaster, {8});  // a card that misreports
  device_.DeliverNotices();
  EXPECT_EQ(Knob(KnobId::kMaster).value(), 0);
  EXPECT_EQ(Knob(KnobId::kMaster).angle(), 200);
  EXPECT_EQ(Knob(KnobId::kMaster).PointerAt(), (Point{0, 14}));
}

TEST_F(MixerPanelTest, WithoutAMixerDeviceTheFacesAreBareAndClicksDoNothing) {
  Make(/*no_device=*/true);
  for (Point at : {Point{27, 6}, Point{27, 46}, Point{98, 46}, Point{98, 6}, Point{170, 46}}) {
    EXPECT_FALSE(Panel(MouseAction::kPress, at));
    EXPECT_FALSE(Panel(MouseAction::kMove, kFarRightUp));
    EXPECT_FALSE(Panel(MouseAction::kRelease, kFarRightUp));
  }
  EXPECT_EQ(device_.sets(), 0);
  for (int id = 0; id < kKnobCount; ++id)
    EXPECT_FALSE(Knob(static_cast<KnobId>(id)).available());
  EXPECT_TRUE(MatchesGolden(ToBitmap(panel_->surface()), "mixer_panel_bare"));
}

}  // namespace
}  // namespace zcd::test
