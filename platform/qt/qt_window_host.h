#pragma once

#include <QColor>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <map>
#include <memory>

#include "base/window_host.h"

namespace zcd {

// The thin frame a desktop would draw round a captionless window.
inline constexpr QRgb kBorderColor = 0xFF0A0C10;

// Presents a skinned window's Surface and passes the desktop's events on.
// Everything skinned grows by the scale: the picture (pixel for pixel, never
// smoothed), the frame round it and the skinned children, while the client
// sees mouse positions in skin pixels.
class SurfaceWidget : public QWidget {
  Q_OBJECT
 public:
  // A skinned child takes the scale of the skinned window it sits in.
  SurfaceWidget(WindowClient* client, QWidget* parent);
  void set_client(WindowClient* client) { client_ = client; }
  WindowClient* client() const { return client_; }
  // Width of the frame drawn round the client's picture, in skin pixels.
  void set_border(int border) { border_ = border; }

  // A window: its screen position and its size in skin pixels. A child: its
  // place in skin pixels inside the parent's client area, which starts
  // `inset` skin pixels in.
  void Place(const Rect& rect, int inset = 0);
  // The same, with a window's position as the desktop has it now.
  Rect Placed() const;
  // Screen pixels per skin pixel, for this widget and its skinned children.
  void SetScale(int scale);
  int scale() const { return scale_; }
  // A point of the widget in skin pixels of the client area.
  Point ToSkin(QPointF local) const;
  // Presents a rectangle of the client's picture again, at once.
  void RepaintSkin(const Rect& rect);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  // Hands the event to the client in skin pixels; false when it was not used.
  bool Forward(QMouseEvent* event, MouseAction action);
  void ApplyPlace();

  WindowClient* client_;
  int border_ = 0;
  int scale_ = 1;
  Rect place_;
  int inset_ = 0;
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
  // The window and its children at once; a child created later follows.
  void SetScale(int scale) override;
  int Scale() const override;
  std::optional<Point> CursorPosition() const override;
  void MoveCursor(Point at) override;
  void Quit(int exit_code) override;
  void WatchReadable(int fd, std::function<void()> ready) override;
  void UnwatchReadable(int fd) override;

 private:
  void SetFlag(Qt::WindowType flag, bool on);

  WindowClient* client_;
  // Where the client area starts, in skin pixels: the own border for a
  // top-level window, the parent's for a child.
  int border_ = 0;
  int inset_ = 0;
  std::unique_ptr<SurfaceWidget> widget_;
  std::map<int, std::unique_ptr<QTimer>> timers_;
  std::map<int, std::unique_ptr<QSocketNotifier>> readable_;
};

}  // namespace zcd
