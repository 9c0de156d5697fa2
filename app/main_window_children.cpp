#include "app/main_window.h"
#include "app/track_box_window.h"
#include "skin/blank_window.h"

// Which skinned window fills each child place of the main window.
namespace zcd {

std::unique_ptr<ChildWindow> MainWindow::MakeChild(WindowId id) {
  switch (id) {
    case WindowId::kTracks: {
      PlayerView& display = *this;
      auto tracks = std::make_unique<TrackBoxWindow>(TrackBoxWindow::Services{
          skin_, s_.settings, monitor_, display, [this] { host_->Show(ShowState::kNormal); }});
      tracks_ = tracks.get();
      return tracks;
    }
    default:
      return std::make_unique<BlankWindow>(
          skin_, [this, id](const MouseEvent& event) { return OnChildMouse(id, event); });
  }
}

}  // namespace zcd
