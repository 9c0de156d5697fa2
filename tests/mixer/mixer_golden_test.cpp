// The mixer panel and the volume bar drawn from the built-in skin, compared
// with pictures in tests/golden/ (ZCD_UPDATE_GOLDEN=1 rewrites them after a
// deliberate change of the look).
#include "mixer/mixer_fixture.h"
#include "skin/blit.h"
#include "support/golden.h"

namespace zcd::test {
namespace {

using MixerGoldenTest = MixerTest;

TEST_F(MixerGoldenTest, PanelWithPointersAndADraggedLabelBesideBothBars) {
  device_.Add(MixerControl::kMaster, {-20, 80}, {-20 + 30});
  Make();
  // The master knob is held at 83 %, its label showing; the others rest
  // where the fake card has them, the balance at 130.
  Panel(MouseAction::kPress, {27, 6});
  Panel(MouseAction::kMove, {50, 4});
  device_.DeliverNotices();
  ASSERT_TRUE(Knob(KnobId::kMaster).dragging());
  ASSERT_EQ(Knob(KnobId::kMaster).Label(), 83);

  Surface sheet(kMixerAt.w + kVolumeAt.w + 3, kMixerAt.h + 2, Rgb(0, 0, 0));
  CopySurface(sheet, {1, 1, kMixerAt.w, kMixerAt.h}, panel_->surface());
  CopySurface(sheet, {kMixerAt.w + 2, 1, kVolumeAt.w, kVolumeAt.h}, bar_->surface());
  Bar(MouseAction::kPress, {16, 5});  // the panel shown
  CopySurface(sheet, {kMixerAt.w + 2, kVolumeAt.h + 3, kVolumeAt.w, kVolumeAt.h}, bar_->surface());
  EXPECT_TRUE(MatchesGolden(ToBitmap(sheet), "mixer_panel"));
}

}  // namespace
}  // namespace zcd::test
