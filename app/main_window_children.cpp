#include "app/main_window.h"
#include "app/menus.h"
#include "app/track_box_window.h"
#include "mixer/mixer_panel.h"
#include "mixer/volume_bar.h"
#include "skin/control_strip.h"
#include "skin/position_slider.h"

// Which skinned window fills each child place of the main window.
namespace zcd {

std::unique_ptr<ChildWindow> MainWindow::MakeChild(WindowId id) {
  // A press on a child brings the whole player forward.
  const auto bring_forward = [this] { host_->Show(ShowState::kNormal); };
  switch (id) {
    case WindowId::kControls: {
      auto strip = std::make_unique<ControlStrip>(
          skin_,
          ControlStrip::Actions{[this](int index) { monitor_.Run(static_cast<Transport>(index)); },
                                [this](Point screen) { ShowMenu(BuildControlMenu(), screen); },
                                bring_forward});
      strip_ = strip.get();
      return strip;
    }
    case WindowId::kSlider: {
      auto slider = std::make_unique<PositionSlider>(
          skin_, s_.settings.TrackClick,
          PositionSlider::Player{
              [this] { return monitor_.playing(); }, [this] { return monitor_.SliderPercentNow(); },
              [this](int percent) { DrawTimerNow(monitor_.SliderSecondsFor(percent), true); },
              [this](int percent) { monitor_.SeekToPercent(percent); }, bring_forward});
      slider_ = slider.get();
      return slider;
    }
    case WindowId::kMixer: {
      auto panel = std::make_unique<MixerPanel>(skin_, *mixer_);
      mixer_panel_ = panel.get();
      return panel;
    }
    case WindowId::kVolume:
      return std::make_unique<VolumeBar>(
          skin_, *mixer_, [this](bool shown) { ShowMixerPanel(shown); }, bring_forward);
    case WindowId::kTracks: {
      PlayerView& display = *this;
      auto tracks = std::make_unique<TrackBoxWindow>(
          TrackBoxWindow::Services{skin_, s_.settings, monitor_, display, bring_forward});
      tracks_ = tracks.get();
      return tracks;
    }
    default:
      return nullptr;
  }
}

void MainWindow::ShowMixerPanel(bool shown) {
  WindowHost* panel = child_host(WindowId::kMixer);
  if (panel == nullptr || mixer_panel_ == nullptr)
    return;
  if (shown)
    mixer_panel_->Refresh();
  panel->Show(shown ? ShowState::kNormal : ShowState::kHidden);
}

}  // namespace zcd
