// The parts of the desktop that Qt gives alike on every platform.

#include "app/system_desktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>
#include <chrono>
#include <ctime>
#include <thread>

#include "app/window_fader.h"
#include "serial/port_list.h"

namespace zorvan::app {

namespace {

// A message box that fades out before it goes, as the skin's windows do.
class SkinnedMessageBox : public QMessageBox {
 public:
  SkinnedMessageBox(Icon icon, const QString& title, const QString& text)
      : QMessageBox(icon, title, text, QMessageBox::Ok) {
    setTextFormat(Qt::PlainText);
  }

  void done(int result) override {
    WindowFader::FadeOut(this, [this, result] { QMessageBox::done(result); });
  }
};

void ShowBox(QMessageBox::Icon icon, const QString& title, const QString& text) {
  // The box has no owner, so it is centred on the screen.
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  SkinnedMessageBox box(icon, title, lines);
  box.exec();
}

}  // namespace

void SystemDesktop::ShowMessage(const QString& text) { ShowBox(QMessageBox::NoIcon, ApplicationTitle(), text); }

void SystemDesktop::ShowException(const QString& text) {
  ShowBox(QMessageBox::Critical, ApplicationTitle(), text);
}

void SystemDesktop::Sleep(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

QString SystemDesktop::TimeOfDay() const {
  // The C library's time format follows the system's regional settings.
  const std::time_t now = std::time(nullptr);
  char text[64];
  const size_t length = std::strftime(text, sizeof text, "%X", std::localtime(&now));
  return QString::fromLocal8Bit(text, static_cast<qsizetype>(length));
}

QString SystemDesktop::ChooseFileToOpen(QWidget* owner, const QString& filter, const QString& last_file) {
  return QFileDialog::getOpenFileName(owner, QString(), last_file, QtFileFilter(filter));
}

void SystemDesktop::OpenAddress(QWidget*, const QString& address) { QDesktopServices::openUrl(QUrl(address)); }

QStringList SystemDesktop::ListSerialPorts() {
  std::vector<std::string> names;
  zorvan::ListSerialPorts(names);
  QStringList ports;
  for (const std::string& name : names) ports << QString::fromStdString(name);
  return ports;
}

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    entries << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                   QLatin1Char(')');
  }
  return entries.join(QStringLiteral(";;"));
}

}  // namespace zorvan::app
