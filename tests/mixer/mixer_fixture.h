#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "base/geometry.h"
#include "mixer/fake_mixer_device.h"
#include "mixer/mixer.h"
#include "mixer/mixer_panel.h"
#include "mixer/volume_bar.h"
#include "platform/headless_window_host.h"
#include "skin/skin_set.h"

namespace zcd::test {

// The mixer panel and the volume bar on headless hosts over a fake mixer:
// master -20..80, bass and treble 0..15, a two-channel CD volume 0..65535.
// Tests change the controls before Make(), which may be called again.
class MixerTest : public ::testing::Test {
 protected:
  MixerTest() {
    device_.Add(MixerControl::kMaster, {-20, 80}, {55});
    device_.Add(MixerControl::kBass, {0, 15}, {3});
    device_.Add(MixerControl::kTreble, {0, 15}, {12});
    device_.Add(MixerControl::kCdVolume, {0, 65535}, {28000, 40000});
  }

  // With `no_device` the mixer has no device at all.
  void Make(bool no_device = false) {
    bar_.reset();
    panel_.reset();
    mixer_.reset();
    mixer_ =
        std::make_unique<Mixer>(no_device ? nullptr : std::make_unique<FakeMixerDevice>(device_));
    panel_ = std::make_unique<MixerPanel>(skin_, *mixer_);
    panel_host_ = std::make_unique<HeadlessWindowHost>(panel_.get(), kMixerAt);
    panel_->Attach(*panel_host_);
    panel_->SetLayout(LayoutMode::kFull, kMixerAt);
    bar_ = std::make_unique<VolumeBar>(skin_, *mixer_, [this](bool shown) {
      ++panel_toggles_;
      panel_shown_ = shown;
    });
    bar_host_ = std::make_unique<HeadlessWindowHost>(bar_.get(), kVolumeAt);
    bar_->Attach(*bar_host_);
    bar_->SetLayout(LayoutMode::kFull, kVolumeAt);
  }

  bool Panel(MouseAction action, Point at) {
    return panel_->OnMouse({action, MouseButton::kLeft, at, {}, false});
  }
  bool Bar(MouseAction action, Point at) {
    return bar_->OnMouse({action, MouseButton::kLeft, at, {}, false});
  }
  // A press on the panel at `from`, released at `to`.
  void DragPanel(Point from, Point to) {
    Panel(MouseAction::kPress, from);
    Panel(MouseAction::kMove, to);
    Panel(MouseAction::kRelease, to);
  }
  const MixerKnob& Knob(KnobId id) const { return panel_->knob(id); }
  const std::vector<int64_t>& Channels(MixerControl control) const {
    return device_.channels(control);
  }

  SkinSet skin_ = LoadSkin("", "");
  FakeMixerDevice device_;
  std::unique_ptr<Mixer> mixer_;
  std::unique_ptr<MixerPanel> panel_;
  std::unique_ptr<HeadlessWindowHost> panel_host_;
  std::unique_ptr<VolumeBar> bar_;
  std::unique_ptr<HeadlessWindowHost> bar_host_;
  int panel_toggles_ = 0;
  bool panel_shown_ = false;
};

}  // namespace zcd::test
