#include "gui/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace zrv::ui {

namespace {
// Drawn on a 64-unit square, scaled to the size asked for.
constexpr qreal kUnits = 64;
const QColor kSheetLine(0x2e, 0x6b, 0x3a);
const QColor kRoof(0xb5, 0x46, 0x2f);
const QColor kRoofEdge(0x7a, 0x2c, 0x1c);
const QColor kWindow(0xff, 0xe9, 0xa8);
}  // namespace

QImage DrawAppIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / kUnits, size / kUnits);

  // The worksheet: a white sheet with a grid of cells.
  p.setPen(QPen(kSheetLine, 2));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(6, 26, 52, 34), 3, 3);
  p.setPen(QPen(kSheetLine, 1.5));
  for (qreal y : {36, 44, 52}) p.drawLine(QPointF(6, y), QPointF(58, y));
  for (qreal x : {22, 40}) p.drawLine(QPointF(x, 26), QPointF(x, 60));

  // The house's roof with a lit window, over the sheet.
  QPainterPath roof;
  roof.moveTo(8, 26);
  roof.lineTo(32, 6);
  roof.lineTo(56, 26);
  roof.closeSubpath();
  p.setPen(QPen(kRoofEdge, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(kRoof);
  p.drawPath(roof);
  p.setPen(QPen(kRoofEdge, 1.5));
  p.setBrush(kWindow);
  p.drawRect(QRectF(27, 14, 10, 8));
  return image;
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128}) icon.addPixmap(QPixmap::fromImage(DrawAppIcon(size)));
  return icon;
}

}  // namespace zrv::ui
