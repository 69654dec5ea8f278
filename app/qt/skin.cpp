#include "app/qt/skin.h"

#include <QApplication>
#include <QFile>
#include <QStyleFactory>
#include <QWidget>

#include "app/qt/window_fader.h"

namespace zorvan::app {

QFont DesignFont(int pixel_height) {
  QFont font;
  // Where "MS Sans Serif" is missing, the nearest face of the same narrow build keeps
  // the captions within their designed bounds.
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")});
  font.setPixelSize(pixel_height);
  return font;
}

void SetSkinSection(QWidget* control, const QString& section) { control->setProperty("SkinSection", section); }

void ActivateSkin() {
  if (!qApp->findChild<WindowFader*>(QString(), Qt::FindDirectChildrenOnly)) {
    qApp->installEventFilter(new WindowFader(qApp));
  }
  // Fusion draws the same on every desktop; the style sheet then gives the skin.
  qApp->setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QFile sheet(QStringLiteral(":/zorvan/skin.qss"));
  if (sheet.open(QIODevice::ReadOnly)) qApp->setStyleSheet(QString::fromUtf8(sheet.readAll()));
}

}  // namespace zorvan::app
