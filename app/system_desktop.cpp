// The parts of the desktop that Qt gives alike on every platform.

#include "app/system_desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
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
      : QMessageBox(icon, title, text, QMessageBox::Ok) {}

  void done(int result) override {
    if (faded_) {
      QMessageBox::done(result);
      return;
    }
    WindowFader::FadeOut(this, [this, result] {
      faded_ = true;
      QMessageBox::done(result);
    });
  }

 private:
  bool faded_ = false;
};

void ShowBox(QMessageBox::Icon icon, const QString& title, const QString& text) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  // Lines are kept whole, with the spaces that centre them: the box grows to the
  // longest line instead of wrapping it.
  SkinnedMessageBox box(icon, title,
                        QStringLiteral("<p style=\"white-space:pre\">") +
                            lines.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
                            QStringLiteral("</p>"));
  box.setTextFormat(Qt::RichText);
  // Wide enough for its title beside the title bar's buttons, as a short message in a
  // box of the system's own would be.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    const int title_width = QFontMetrics(QApplication::font()).horizontalAdvance(title) * 5 / 4 + 120;
    grid->addItem(new QSpacerItem(title_width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0,
                  1, grid->columnCount());
  }
  // The box has no owner, so it is centred on the screen.
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
