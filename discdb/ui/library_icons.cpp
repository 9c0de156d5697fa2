#include "discdb/ui/library_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace zcd {
namespace {

const QColor kOutline(70, 60, 30);
const QColor kFolder(236, 196, 88);
const QColor kFolderInside(200, 152, 48);

void DrawClosedFolder(QPainter& p) {
  p.setPen(kOutline);
  p.setBrush(kFolder);
  p.drawRect(QRectF(1.5, 4.5, 13, 9));
  p.drawRect(QRectF(1.5, 2.5, 5, 2));
}

void DrawOpenFolder(QPainter& p) {
  p.setPen(kOutline);
  p.setBrush(kFolderInside);
  p.drawRect(QRectF(1.5, 2.5, 12, 11));
  p.setBrush(kFolder);
  QPainterPath lid;
  lid.moveTo(1.5, 13.5);
  lid.lineTo(4.5, 7.5);
  lid.lineTo(15.5, 7.5);
  lid.lineTo(12.5, 13.5);
  lid.closeSubpath();
  p.drawPath(lid);
}

void DrawArtist(QPainter& p) {
  p.setPen(QColor(40, 50, 90));
  p.setBrush(QColor(96, 128, 208));
  p.drawEllipse(QRectF(2.5, 9.5, 11, 9));  // shoulders, cut by the icon's edge
  p.setBrush(QColor(240, 200, 160));
  p.drawEllipse(QRectF(4.5, 1.5, 7, 7));
}

void DrawDisc(QPainter& p) {
  QRadialGradient shine(QPointF(6, 6), 9);
  shine.setColorAt(0, QColor(250, 250, 255));
  shine.setColorAt(0.6, QColor(190, 200, 225));
  shine.setColorAt(1, QColor(150, 170, 210));
  p.setPen(QColor(90, 100, 120));
  p.setBrush(shine);
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
}

QPixmap Draw(LibraryIcon icon, qreal scale) {
  QPixmap pixmap(QSize(16, 16) * scale);
  pixmap.setDevicePixelRatio(scale);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (icon) {
    case LibraryIcon::kClosedGroup:
      DrawClosedFolder(p);
      break;
    case LibraryIcon::kOpenGroup:
      DrawOpenFolder(p);
      break;
    case LibraryIcon::kArtist:
      DrawArtist(p);
      break;
    case LibraryIcon::kDisc:
      DrawDisc(p);
      break;
  }
  return pixmap;
}

}  // namespace

QIcon MakeLibraryIcon(LibraryIcon icon) {
  QIcon made;
  made.addPixmap(Draw(icon, 1));
  made.addPixmap(Draw(icon, 2));
  return made;
}

}  // namespace zcd
