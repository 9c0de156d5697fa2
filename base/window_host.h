#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/menu.h"
#include "base/rect.h"
#include "base/surface.h"

namespace zcd {

enum class ShowState { kHidden, kNormal, kMinimized };
enum class MessageBoxStyle { kInformation, kExclamation, kError, kQuestion };
enum class MessageBoxButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MessageBoxAnswer { kOk, kCancel, kYes, kNo };

enum class MouseButton { kLeft, kRight };
// kLeave: the cursor left the window (no button held).
enum class MouseAction { kPress, kRelease, kMove, kDoubleClick, kLeave };

// A mouse event in the window's skin pixels, with the screen point for
// menus opened at the cursor.
struct MouseEvent {
  MouseAction action = MouseAction::kPress;
  MouseButton button = MouseButton::kLeft;
  Point at;
  Point screen;
  bool shift = false;
};

// What a skinned window offers its host. Window thread only.
class WindowClient {
 public:
  virtual ~WindowClient() = default;
  // The finished picture; the host presents it after Invalidate.
  virtual const Surface& surface() const = 0;
  virtual void OnTimer(int /*id*/) {}
  // The desktop asked the window to close.
  virtual void OnCloseRequest() {}
  // The desktop minimized or restored the window.
  virtual void OnShowStateChanged(ShowState /*state*/) {}
  // Whether the window used the event.
  virtual bool OnMouse(const MouseEvent& /*event*/) { return false; }
};

// What a skinned window asks of the desktop. Window thread only unless said.
class WindowHost {
 public:
  virtual ~WindowHost() = default;

  virtual void SetTimer(int id, int interval_ms) = 0;
  virtual void KillTimer(int id) = 0;
  // Screen position for a top-level window, the parent's pixels for a child.
  virtual void SetGeometry(const Rect& rect) = 0;
  virtual Rect Geometry() const = 0;
  virtual void Show(ShowState state) = 0;
  virtual ShowState State() const = 0;
  virtual void SetTopmost(bool topmost) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // Keeps the window off the taskbar.
  virtual void SetToolWindow(bool tool) = 0;
  virtual Rect WorkArea() const = 0;
  // Any thread: asks for the rectangle to be presented again.
  virtual void Invalidate(const Rect& rect) = 0;
  // Any thread: shows a message box owned by this window and waits for the answer.
  virtual MessageBoxAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                                          MessageBoxStyle style, MessageBoxButtons buttons) = 0;
  virtual std::unique_ptr<WindowHost> CreateChild(WindowClient& client, const Rect& rect) = 0;
  // Shows a popup menu at a screen point and waits for the user: the
  // command of the item chosen, none when the menu was dismissed.
  virtual std::optional<int64_t> PopupMenu(const Menu& menu, Point screen) = 0;
  // How wide the desktop's menu font draws a menu text, in pixels.
  virtual int MenuTextWidth(const std::string& text) const = 0;
  // Where the mouse cursor is now, in this window's skin pixels (outside
  // the window too); none when the desktop does not say.
  virtual std::optional<Point> CursorPosition() const { return std::nullopt; }
  // Puts the mouse cursor at a point of this window, in skin pixels.
  virtual void MoveCursor(Point /*at*/) {}
  // Screen pixels per skin pixel, a whole number. A top-level window's
  // geometry is its screen position with its size in skin pixels; children,
  // mouse positions and drawing are all in skin pixels.
  virtual int Scale() const { return 1; }
  // A top-level window keeps its position and grows or shrinks with its
  // children; a host that cannot scale stays at 1.
  virtual void SetScale(int /*scale*/) {}
  // Calls `ready` on the window thread whenever the file descriptor has
  // something to read, until UnwatchReadable. One watch per descriptor.
  virtual void WatchReadable(int fd, std::function<void()> ready) = 0;
  virtual void UnwatchReadable(int fd) = 0;
  // Ends the message loop with this exit code.
  virtual void Quit(int exit_code) = 0;
};

}  // namespace zcd
