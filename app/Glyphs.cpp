#include "app/Glyphs.h"

#include <QPainter>
#include <QPixmap>

namespace {

const QColor kOlive(128, 128, 0);

void DrawStopSign(QPainter& p, const QColor& ring, const QColor& mark) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(ring, 2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRect(1, 1, 13, 13));
  p.setPen(QPen(mark, 2));
  p.drawLine(QPoint(8, 3), QPoint(8, 9));
  p.drawPoint(QPoint(8, 12));
  p.setPen(QPen(ring, 2));
  p.drawLine(QPoint(4, 4), QPoint(12, 12));
}

QImage DoorImage() {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  // Door frame.
  p.setPen(QColor(0, 0, 0));
  p.setBrush(QColor(255, 255, 255));
  p.drawRect(QRect(5, 1, 9, 13));
  // The opened leaf, seen at an angle, with its knob.
  const QPoint leaf[] = {QPoint(5, 1), QPoint(10, 3), QPoint(10, 15), QPoint(5, 14)};
  p.setBrush(QColor(128, 64, 0));
  p.drawPolygon(leaf, 4);
  p.setPen(QColor(255, 255, 0));
  p.drawPoint(QPoint(9, 9));
  // Floor step out of the door.
  p.setPen(QColor(0, 128, 0));
  p.drawLine(QPoint(1, 14), QPoint(4, 14));
  return image;
}

}  // namespace

QImage StopStrip() {
  QImage strip(32, 16, QImage::Format_RGB32);
  strip.fill(kOlive);
  QPainter p(&strip);
  DrawStopSign(p, QColor(255, 0, 0), QColor(0, 0, 0));
  p.translate(16, 0);
  DrawStopSign(p, QColor(128, 128, 128), QColor(192, 192, 192));
  return strip;
}

QIcon IconFromStrip(const QImage& strip) {
  const QRgb transparent = strip.pixel(0, strip.height() - 1);
  QImage clear = strip.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < clear.height(); ++y)
    for (int x = 0; x < clear.width(); ++x)
      if (clear.pixel(x, y) == transparent) clear.setPixel(x, y, qRgba(0, 0, 0, 0));
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(clear.copy(0, 0, 16, 16)), QIcon::Normal);
  icon.addPixmap(QPixmap::fromImage(clear.copy(16, 0, 16, 16)), QIcon::Disabled);
  return icon;
}

QIcon DoorIcon() { return QIcon(QPixmap::fromImage(DoorImage())); }
