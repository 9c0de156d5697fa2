#include "app/main_window.h"
#include "skin/blank_window.h"

// Which skinned window fills each child place of the main window.
namespace zcd {

std::unique_ptr<ChildWindow> MainWindow::MakeChild(WindowId id) {
  switch (id) {
    default:
      return std::make_unique<BlankWindow>(
          skin_, [this, id](const MouseEvent& event) { return OnChildMouse(id, event); });
  }
}

}  // namespace zcd
