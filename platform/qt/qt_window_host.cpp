#include "platform/qt/qt_window_host.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QScreen>
#include <QThread>

#include "base/geometry.h"
#include "platform/qt/windows1252.h"

namespace zcd {
namespace {

// The thin frame a desktop would draw round a captionless window.
constexpr QRgb kBorderColor = 0xFF0A0C10;

}  // namespace

SurfaceWidget::SurfaceWidget(WindowClient* client, QWidget* parent)
    : QWidget(parent), client_(client) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Skinned controls light up under a cursor with no button held.
  setMouseTracking(true);
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
  if (border_ > 0) {
    painter.setPen(QPen(QColor(kBorderColor), border_));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(
        QRectF(rect()).adjusted(border_ / 2.0, border_ / 2.0, -border_ / 2.0, -border_ / 2.0));
  }
  // Skin pixels are scaled once, here, by the screen's pixel ratio. Only the
  // part asked for is drawn: a scrolling title repaints a thin strip.
  const QRect client(border_, border_, surface.width(), surface.height());
  const QRect dirty = event->rect() & client;
  painter.drawImage(dirty, image, dirty.translated(-border_, -border_));
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

bool SurfaceWidget::Forward(QMouseEvent* event, MouseAction action) {
  if (client_ == nullptr)
    return false;
  const QPointF local = event->position();
  const QPointF global = event->globalPosition();
  MouseEvent forwarded;
  forwarded.action = action;
  forwarded.button = event->button() == Qt::RightButton ? MouseButton::kRight : MouseButton::kLeft;
  forwarded.at = {static_cast<int>(local.x()) - border_, static_cast<int>(local.y()) - border_};
  forwarded.screen = {static_cast<int>(global.x()), static_cast<int>(global.y())};
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
  widget_->setFixedSize(rect.w, rect.h);
  widget_->move(rect.x + inset_, rect.y + inset_);
}

Rect QtWindowHost::Geometry() const {
  const QRect rect = widget_->geometry();
  return {rect.x() - inset_, rect.y() - inset_, rect.width(), rect.height()};
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
  const QPoint local = widget_->mapFromGlobal(QCursor::pos());
  return Point{local.x() - border_, local.y() - border_};
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
  QWidget* widget = widget_.get();
  const QRect area(rect.x + border_, rect.y + border_, rect.w, rect.h);
  QMetaObject::invokeMethod(
      widget, [widget, area] { widget->repaint(area); }, Qt::QueuedConnection);
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

// The skin's strip down the menu's side is drawn by the skinned menus;
// until then the graphic items are left out. Columns follow Qt's own
// layout.
void FillMenu(QMenu& menu, const Menu& items) {
  for (const MenuItem& item : items) {
    switch (item.kind) {
      case MenuItem::Kind::kGraphic:
        break;
      case MenuItem::Kind::kSeparator:
        menu.addSeparator();
        break;
      case MenuItem::Kind::kSubmenu: {
        QMenu* sub = menu.addMenu(FromWindows1252(item.text));
        sub->setEnabled(item.enabled);
        FillMenu(*sub, item.items);
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
  QMenu popup(widget_.get());
  FillMenu(popup, menu);
  const QAction* chosen = popup.exec(QPoint(screen.x, screen.y));
  if (chosen == nullptr || !chosen->data().isValid())
    return std::nullopt;
  return chosen->data().toLongLong();
}

int QtWindowHost::MenuTextWidth(const std::string& text) const {
  QMenu probe;
  return probe.fontMetrics().horizontalAdvance(FromWindows1252(text));
}

void QtWindowHost::Quit(int exit_code) {
  QCoreApplication::exit(exit_code);
}

}  // namespace zcd
