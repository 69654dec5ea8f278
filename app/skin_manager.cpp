#include "app/skin_manager.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QStyleFactory>
#include <QWidget>

#include "app/window_fader.h"

namespace zorvan::app {

const QString TsSkinManager::kInternalSkinName = QStringLiteral("Zorvan Bench");

QFont DesignFont(int pixel_height) {
  QFont font;
  // Where "MS Sans Serif" is missing, the nearest face of the same narrow build keeps
  // the captions within their designed bounds.
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")});
  font.setPixelSize(pixel_height);
  return font;
}

void SetSkinSection(QWidget* control, const char* section) {
  control->setProperty("SkinSection", QString::fromLatin1(section));
}

TsSkinManager::TsSkinManager(QObject* parent) : QObject(parent) {}

void TsSkinManager::Activate() {
  if (!qApp->findChild<WindowFader*>(QString(), Qt::FindDirectChildrenOnly)) {
    qApp->installEventFilter(new WindowFader(qApp));
  }
  // Fusion draws the same on every desktop; the style sheet then gives the skin.
  qApp->setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QFile sheet(QStringLiteral(":/zorvan/skin.qss"));
  if (sheet.open(QIODevice::ReadOnly)) qApp->setStyleSheet(QString::fromUtf8(sheet.readAll()));
  active_skin_ = kInternalSkinName;
}

void TsSkinManager::SetSkinName(const QString& name) { skin_name_ = name; }

}  // namespace zorvan::app
