#include "app/main_window.h"
#include "app/menus.h"
#include "skin/blank_window.h"
#include "skin/control_strip.h"
#include "skin/position_slider.h"

// Which skinned window fills each child place of the main window.
namespace zcd {

std::unique_ptr<ChildWindow> MainWindow::MakeChild(WindowId id) {
  switch (id) {
    case WindowId::kControls: {
      auto strip = std::make_unique<ControlStrip>(
          skin_,
          ControlStrip::Actions{[this](int index) { monitor_.Run(static_cast<Transport>(index)); },
                                [this](Point screen) { ShowMenu(BuildControlMenu(), screen); }});
      strip_ = strip.get();
      return strip;
    }
    case WindowId::kSlider: {
      auto slider = std::make_unique<PositionSlider>(
          skin_, s_.settings.TrackClick,
          PositionSlider::Player{
              [this] { return monitor_.playing(); }, [this] { return monitor_.SliderPercentNow(); },
              [this](int percent) { DrawTimerNow(monitor_.SliderSecondsFor(percent), true); },
              [this](int percent) { monitor_.SeekToPercent(percent); },
              [this] { host_->Show(ShowState::kNormal); }});
      slider_ = slider.get();
      return slider;
    }
    default:
      return std::make_unique<BlankWindow>(skin_);
  }
}

}  // namespace zcd
