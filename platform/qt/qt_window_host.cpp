#include "platform/qt/qt_window_host.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <algorithm>
#include <cmath>

#include "base/geometry.h"
#include "platform/qt/banner_menu.h"
#include "platform/qt/windows1252.h"

namespace zcd {

SurfaceWidget::SurfaceWidget(WindowClient* client, QWidget* parent)
    : QWidget(parent), client_(client) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Buttons and track cells light up under the cursor, not only while pressed.
  setMouseTracking(true);
  if (const auto* skinned = qobject_cast<SurfaceWidget*>(parent))
    scale_ = skinned->scale_;
}

void SurfaceWidget::Place(const Rect& rect, int inset) {
  place_ = rect;
  inset_ = inset;
  ApplyPlace();
}

Rect SurfaceWidget::Placed() const {
  if (!isWindow())
    return place_;
  return {x(), y(), place_.w, place_.h};
}

void SurfaceWidget::ApplyPlace() {
  setFixedSize(place_.w * scale_, place_.h * scale_);
  // A window's position is the desktop's; a child's is in skin pixels.
  if (isWindow())
    move(place_.x, place_.y);
  else
    move((place_.x + inset_) * scale_, (place_.y + inset_) * scale_);
}

void SurfaceWidget::SetScale(int scale) {
  scale = std::max(scale, 1);
  if (scale == scale_)
    return;
  // The window may have been moved since it was placed.
  place_ = Placed();
  scale_ = scale;
  ApplyPlace();
  for (SurfaceWidget* child : findChildren<SurfaceWidget*>(Qt::FindDirectChildrenOnly))
    child->SetScale(scale);
  update();
}

void SurfaceWidget::RepaintSkin(const Rect& rect) {
  const int offset = border_ * scale_;
  repaint(offset + rect.x * scale_, offset + rect.y * scale_, rect.w * scale_, rect.h * scale_);
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
  if (client_ == nullptr)
    return;
  const Surface& surface = client_->surface();
  std::lock_guard guard(surface.lock());
  if (surface.width() == 0 || surface.height() == 0)
    return;
  const QImage image(reinterpret_cast<const uchar*>(surface.Row(0)), surface.width(),
                     surface.height(), surface.width() * 4, QImage::Format_ARGB32);
  QPainter painter(this);
  const int s = scale_;
  const int frame = border_ * s;
  if (frame > 0) {
    const QColor color(kBorderColor);
    painter.fillRect(0, 0, width(), frame, color);
    painter.fillRect(0, height() - frame, width(), frame, color);
    painter.fillRect(0, frame, frame, height() - 2 * frame, color);
    painter.fillRect(width() - frame, frame, frame, height() - 2 * frame, color);
  }
  // Skin pixels are scaled once, here: by the window's scale and then by
  // the screen's pixel ratio, both without smoothing so that every skin
  // pixel stays a sharp square. Only the skin pixels under the part asked
  // for are drawn: a scrolling title repaints a thin strip.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  const QRect dirty = event->rect().translated(-frame, -frame);
  const int left = std::max(dirty.left() / s, 0);
  const int top = std::max(dirty.top() / s, 0);
  const int right = std::min((dirty.right() + s) / s, surface.width());
  const int bottom = std::min((dirty.bottom() + s) / s, surface.height());
  if (left >= right || top >= bottom)
    return;
  const QRect source(left, top, right - left, bottom - top);
  painter.drawImage(
      QRect(frame + left * s, frame + top * s, source.width() * s, source.height() * s), image,
      source);
}

void SurfaceWidget::closeEvent(QCloseEvent* event) {
  // The window closes through the player's orderly end, not by itself.
  event->ignore();
  if (client_ != nullptr)
    client_->OnCloseRequest();
}

void SurfaceWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && client_ != nullptr) {
    client_->OnShowStateChanged(isMinimized() ? ShowState::kMinimized : ShowState::kNormal);
  }
}

// Whole skin pixels, counted from the client area: the frame lies at -1.
Point SurfaceWidget::ToSkin(QPointF local) const {
  const auto skin = [this](double at) {
    return static_cast<int>(std::floor(at / scale_)) - border_;
  };
  return {skin(local.x()), skin(local.y())};
}

bool SurfaceWidget::Forward(QMouseEvent* event, MouseAction action) {
  if (client_ == nullptr)
    return false;
  const QPointF global = event->globalPosition();
  MouseEvent forwarded;
  forwarded.action = action;
  forwarded.button = event->button() == Qt::RightButton ? MouseButton::kRight : MouseButton::kLeft;
  forwarded.at = ToSkin(event->position());
  forwarded.screen = {static_cast<int>(std::floor(global.x())),
                      static_cast<int>(std::floor(global.y()))};
  forwarded.shift = (event->modifiers() & Qt::ShiftModifier) != 0;
  return client_->OnMouse(forwarded);
}

void SurfaceWidget::mousePressEvent(QMouseEvent* event) {
  if (!Forward(event, MouseAction::kPress))
    QWidget::mousePressEvent(event);
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!Forward(event, MouseAction::kRelease))
    QWidget::mouseReleaseEvent(event);
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!Forward(event, MouseAction::kMove))
    QWidget::mouseMoveEvent(event);
}

void SurfaceWidget::leaveEvent(QEvent* event) {
  if (client_ != nullptr) {
    MouseEvent left;
    left.action = MouseAction::kLeave;
    client_->OnMouse(left);
  }
  QWidget::leaveEvent(event);
}

void SurfaceWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!Forward(event, MouseAction::kDoubleClick))
    QWidget::mouseDoubleClickEvent(event);
}

QtWindowHost::QtWindowHost(WindowClient* client) : QtWindowHost(client, nullptr) {
  widget_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  border_ = kMainBorder;
  widget_->set_border(border_);
}

QtWindowHost::QtWindowHost(WindowClient* client, QWidget* parent, int inset)
    : client_(client), inset_(inset), widget_(std::make_unique<SurfaceWidget>(client, parent)) {}

QtWindowHost::~QtWindowHost() = default;

void QtWindowHost::set_client(WindowClient* client) {
  client_ = client;
  widget_->set_client(client);
}

void QtWindowHost::SetTimer(int id, int interval_ms) {
  auto& timer = timers_[id];
  if (!timer) {
    timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [this, id] {
      if (client_ != nullptr)
        client_->OnTimer(id);
    });
  }
  timer->start(interval_ms);
}

void QtWindowHost::KillTimer(int id) {
  timers_.erase(id);
}

void QtWindowHost::SetGeometry(const Rect& rect) {
  widget_->Place(rect, inset_);
}

Rect QtWindowHost::Geometry() const {
  return widget_->Placed();
}

void QtWindowHost::SetScale(int scale) {
  widget_->SetScale(scale);
}

int QtWindowHost::Scale() const {
  return widget_->scale();
}

void QtWindowHost::Show(ShowState state) {
  switch (state) {
    case ShowState::kHidden:
      widget_->hide();
      break;
    case ShowState::kNormal:
      if (widget_->isWindow()) {
        widget_->showNormal();
        widget_->raise();
      } else {
        widget_->show();
      }
      break;
    case ShowState::kMinimized:
      widget_->showMinimized();
      break;
  }
}

ShowState QtWindowHost::State() const {
  if (widget_->isMinimized())
    return ShowState::kMinimized;
  return widget_->isVisible() ? ShowState::kNormal : ShowState::kHidden;
}

void QtWindowHost::SetFlag(Qt::WindowType flag, bool on) {
  if (widget_->windowFlags().testFlag(flag) == on)
    return;
  // Changing a flag hides the window; show it again as it was.
  const bool visible = widget_->isVisible();
  const bool minimized = widget_->isMinimized();
  widget_->setWindowFlag(flag, on);
  if (visible)
    minimized ? widget_->showMinimized() : widget_->show();
}

void QtWindowHost::SetTopmost(bool topmost) {
  SetFlag(Qt::WindowStaysOnTopHint, topmost);
}

void QtWindowHost::SetCaption(const std::string& caption) {
  widget_->setWindowTitle(FromWindows1252(caption));
}

void QtWindowHost::SetToolWindow(bool tool) {
  SetFlag(Qt::Tool, tool);
}

std::optional<Point> QtWindowHost::CursorPosition() const {
  return widget_->ToSkin(widget_->mapFromGlobal(QCursor::pos().toPointF()));
}

void QtWindowHost::MoveCursor(Point at) {
  const int scale = widget_->scale();
  // The middle of the skin pixel, so the next event maps back onto it.
  const QPoint local((at.x + border_) * scale + scale / 2, (at.y + border_) * scale + scale / 2);
  QCursor::setPos(widget_->mapToGlobal(local));
}

Rect QtWindowHost::WorkArea() const {
  const QScreen* screen = widget_->screen();
  if (screen == nullptr)
    screen = QGuiApplication::primaryScreen();
  if (screen == nullptr)
    return {0, 0, 1024, 768};
  const QRect area = screen->availableGeometry();
  return {area.x(), area.y(), area.width(), area.height()};
}

void QtWindowHost::Invalidate(const Rect& rect) {
  // The scale is read on the window thread, where it changes.
  SurfaceWidget* widget = widget_.get();
  QMetaObject::invokeMethod(
      widget, [widget, rect] { widget->RepaintSkin(rect); }, Qt::QueuedConnection);
}

MessageBoxAnswer QtWindowHost::ShowMessageBox(const std::string& text, const std::string& caption,
                                              MessageBoxStyle style, MessageBoxButtons buttons) {
  MessageBoxAnswer answer = MessageBoxAnswer::kCancel;
  auto ask = [&] {
    QMessageBox box(widget_->isWindow() ? widget_.get() : widget_->window());
    box.setWindowTitle(FromWindows1252(caption));
    box.setText(FromWindows1252(text));
    switch (style) {
      case MessageBoxStyle::kInformation:
        box.setIcon(QMessageBox::Information);
        break;
      case MessageBoxStyle::kExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
      case MessageBoxStyle::kError:
        box.setIcon(QMessageBox::Critical);
        break;
      case MessageBoxStyle::kQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
      case MessageBoxButtons::kOk:
        box.setStandardButtons(QMessageBox::Ok);
        break;
      case MessageBoxButtons::kOkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
      case MessageBoxButtons::kYesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
      case MessageBoxButtons::kYesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
      case QMessageBox::Ok:
        answer = MessageBoxAnswer::kOk;
        break;
      case QMessageBox::Yes:
        answer = MessageBoxAnswer::kYes;
        break;
      case QMessageBox::No:
        answer = MessageBoxAnswer::kNo;
        break;
      default:
        answer = MessageBoxAnswer::kCancel;
        break;
    }
  };
  // Asking the window thread from itself would wait for ever.
  if (QThread::currentThread() == widget_->thread()) {
    ask();
  } else {
    QMetaObject::invokeMethod(widget_.get(), ask, Qt::BlockingQueuedConnection);
  }
  return answer;
}

std::unique_ptr<WindowHost> QtWindowHost::CreateChild(WindowClient& client, const Rect& rect) {
  auto child = std::make_unique<QtWindowHost>(&client, widget_.get(), border_);
  child->SetGeometry(rect);
  child->widget_->show();
  return child;
}

namespace {

// Only the popup itself shows the skin's banner; a submenu's graphic item is
// left out. Qt lays out columns itself, only when a menu is taller than the
// screen, so the items' column breaks are not followed.
void FillMenu(QMenu& menu, const Menu& items, BannerMenu* banner) {
  for (const MenuItem& item : items) {
    switch (item.kind) {
      case MenuItem::Kind::kGraphic:
        if (banner != nullptr)
          banner->SetBanner(item.sheet, item.graphic);
        break;
      case MenuItem::Kind::kSeparator:
        menu.addSeparator();
        break;
      case MenuItem::Kind::kSubmenu: {
        QMenu* sub = menu.addMenu(FromWindows1252(item.text));
        sub->setEnabled(item.enabled);
        FillMenu(*sub, item.items, nullptr);
        break;
      }
      case MenuItem::Kind::kCommand: {
        QAction* action = menu.addAction(FromWindows1252(item.text));
        action->setEnabled(item.enabled);
        action->setCheckable(item.checked || item.radio);
        action->setChecked(item.checked);
        action->setData(QVariant::fromValue<qlonglong>(item.command));
        break;
      }
    }
  }
}

}  // namespace

std::optional<int64_t> QtWindowHost::PopupMenu(const Menu& menu, Point screen) {
  BannerMenu popup(widget_.get());
  FillMenu(popup, menu, &popup);
  const QAction* chosen = popup.exec(QPoint(screen.x, screen.y));
  if (chosen == nullptr || !chosen->data().isValid())
    return std::nullopt;
  return chosen->data().toLongLong();
}

int QtWindowHost::MenuTextWidth(const std::string& text) const {
  QMenu probe;
  return probe.fontMetrics().horizontalAdvance(FromWindows1252(text));
}

void QtWindowHost::WatchReadable(int fd, std::function<void()> ready) {
  auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(notifier.get(), &QSocketNotifier::activated, std::move(ready));
  readable_[fd] = std::move(notifier);
}

void QtWindowHost::UnwatchReadable(int fd) {
  // The notifier may be the one whose signal is running: delete it later.
  const auto it = readable_.find(fd);
  if (it == readable_.end())
    return;
  it->second->setEnabled(false);
  it->second.release()->deleteLater();
  readable_.erase(it);
}

void QtWindowHost::Quit(int exit_code) {
  QCoreApplication::exit(exit_code);
}

}  // namespace zcd
