#include "app/qt/pictures.h"

#include <QPainter>
#include <QSvgRenderer>

namespace zorvan::app {

namespace {

QPixmap Render(const QString& resource, QSize size, qreal device_pixel_ratio) {
  QPixmap pixmap(size * device_pixel_ratio);
  pixmap.fill(Qt::transparent);
  QSvgRenderer renderer(resource);
  QPainter painter(&pixmap);
  renderer.render(&painter);
  painter.end();
  pixmap.setDevicePixelRatio(device_pixel_ratio);
  return pixmap;
}

// Sharp at the sizes the windows and the desktop ask for, on ordinary and dense screens.
QIcon IconFrom(const QString& resource, std::initializer_list<int> sizes) {
  QIcon icon;
  for (int side : sizes) {
    for (qreal ratio : {1.0, 2.0}) icon.addPixmap(Render(resource, QSize(side, side), ratio));
  }
  return icon;
}

}  // namespace

QIcon ProgramIcon() { return IconFrom(QStringLiteral(":/zorvan/program_icon.svg"), {16, 24, 32, 48, 64, 128}); }
QIcon WriteButtonPicture() { return IconFrom(QStringLiteral(":/zorvan/write_button.svg"), {26, 32}); }
QIcon MakerSiteGlyph() { return IconFrom(QStringLiteral(":/zorvan/maker_site.svg"), {16}); }
QIcon AboutGlyph() { return IconFrom(QStringLiteral(":/zorvan/about.svg"), {16}); }

QPixmap Emblem(QSize size, qreal device_pixel_ratio) {
  return Render(QStringLiteral(":/zorvan/emblem.svg"), size, device_pixel_ratio);
}

}  // namespace zorvan::app
