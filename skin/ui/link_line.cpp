#include "skin/ui/link_line.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>

namespace zcd {

LinkLine::LinkLine(const QString& text, const QUrl& url, QWidget* parent)
    : QWidget(parent),
      text_(text),
      url_(url),
      opener_([](const QUrl& u) { QDesktopServices::openUrl(u); }) {
  QFont underlined = font();
  underlined.setUnderline(true);
  setFont(underlined);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize LinkLine::sizeHint() const {
  const QFontMetrics metrics = fontMetrics();
  return {metrics.horizontalAdvance(text_) + 2, metrics.height() + 2};
}

void LinkLine::paintEvent(QPaintEvent*) {
  // No background: the dialog shows through around the letters.
  QPainter painter(this);
  painter.setPen(pressed_ ? QColor(255, 0, 0) : QColor(0, 0, 255));
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, text_);
}

void LinkLine::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    SetPressed(true);
}

void LinkLine::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_)
    return;
  SetPressed(false);
  if (rect().contains(event->position().toPoint()))
    opener_(url_);
}

void LinkLine::SetPressed(bool pressed) {
  pressed_ = pressed;
  update();
}

}  // namespace zcd
