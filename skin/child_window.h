#pragma once

#include "base/geometry.h"
#include "base/window_host.h"

namespace zcd {

// A skinned child window of the player. The main window creates it, then
// its host, and tells it when the layout or the skin changed; the child
// draws itself from the skin. Window thread only.
class ChildWindow : public WindowClient {
 public:
  // The host is made after the client and outlives the client's use of it.
  virtual void Attach(WindowHost& host) { host_ = &host; }
  // The window was placed for a layout; `rect` is its place in the main
  // window's client area. Also called once at start.
  virtual void SetLayout(LayoutMode mode, const Rect& rect) = 0;
  // Draws everything again: the main window was repainted or the skin changed.
  virtual void Repaint() = 0;

 protected:
  WindowHost* host_ = nullptr;
};

}  // namespace zcd
