#include "app/main_window.h"
#include "mixer/mixer_panel.h"
#include "mixer/volume_bar.h"
#include "skin/blank_window.h"

// Which skinned window fills each child place of the main window.
namespace zcd {

std::unique_ptr<ChildWindow> MainWindow::MakeChild(WindowId id) {
  switch (id) {
    case WindowId::kMixer: {
      auto panel = std::make_unique<MixerPanel>(skin_, *mixer_);
      mixer_panel_ = panel.get();
      return panel;
    }
    case WindowId::kVolume:
      return std::make_unique<VolumeBar>(skin_, *mixer_,
                                         [this](bool shown) { ShowMixerPanel(shown); });
    default:
      return std::make_unique<BlankWindow>(
          skin_, [this, id](const MouseEvent& event) { return OnChildMouse(id, event); });
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
