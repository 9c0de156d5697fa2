#pragma once

#include <QTimer>
#include <QWidget>
#include <map>
#include <memory>

#include "base/window_host.h"

namespace zcd {

// Presents a skinned window's Surface and passes the desktop's events on.
class SurfaceWidget : public QWidget {
  Q_OBJECT
 public:
  SurfaceWidget(WindowClient* client, QWidget* parent);
  void set_client(WindowClient* client) { client_ = client; }
  // Width of the frame drawn round the client's picture.
  void set_border(int border) { border_ = border; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // Hands the event to the client in skin pixels; false when it was not used.
  bool Forward(QMouseEvent* event, MouseAction action);

  WindowClient* client_;
  int border_ = 0;
};

// The Qt side of a skinned window. A top-level host must outlive its client
// and every child host it created; a child host goes before its parent.
class QtWindowHost : public WindowHost {
 public:
  // A top-level window with a one-pixel border of its own and no desktop
  // frame; the client may be set later. Its geometry includes the border.
  explicit QtWindowHost(WindowClient* client = nullptr);
  // A child window inside parent's client area, which starts at `inset`.
  QtWindowHost(WindowClient* client, QWidget* parent, int inset = 0);
  ~QtWindowHost() override;
  QtWindowHost(const QtWindowHost&) = delete;
  QtWindowHost& operator=(const QtWindowHost&) = delete;

  void set_client(WindowClient* client);
  QWidget* widget() const { return widget_.get(); }

  void SetTimer(int id, int interval_ms) override;
  void KillTimer(int id) override;
  void SetGeometry(const Rect& rect) override;
  Rect Geometry() const override;
  void Show(ShowState state) override;
  ShowState State() const override;
  void SetTopmost(bool topmost) override;
  void SetCaption(const std::string& caption) override;
  void SetToolWindow(bool tool) override;
  Rect WorkArea() const override;
  void Invalidate(const Rect& rect) override;
  MessageBoxAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                                  MessageBoxStyle style, MessageBoxButtons buttons) override;
  std::unique_ptr<WindowHost> CreateChild(WindowClient& client, const Rect& rect) override;
  std::optional<int64_t> PopupMenu(const Menu& menu, Point screen) override;
  int MenuTextWidth(const std::string& text) const override;
  std::optional<Point> CursorPosition() const override;
  void Quit(int exit_code) override;

 private:
  void SetFlag(Qt::WindowType flag, bool on);

  WindowClient* client_;
  // Where the client area starts: the own border for a top-level window,
  // the parent's for a child.
  int border_ = 0;
  int inset_ = 0;
  std::unique_ptr<SurfaceWidget> widget_;
  std::map<int, std::unique_ptr<QTimer>> timers_;
};

}  // namespace zcd
