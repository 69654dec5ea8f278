// The parts of the desktop that Qt gives alike on every platform.

#include "app/qt/system_desktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>
#include <chrono>
#include <ctime>
#include <thread>

#include "app/qt/message_dialog.h"
#include "app/qt/qt_text.h"
#include "app/window_view.h"
#include "serial/bcport.h"
#include "serial/port_list.h"

namespace zorvan::app {

namespace {

// The box has no owner, so it is centred on the screen.
int ShowBox(const QString& title, const QString& text, MessageKind kind) {
  MessageDialog box(title, text, kind);
  return box.exec();
}

}  // namespace

void SystemDesktop::ShowMessage(const std::string& text) {
  ShowBox(Text(ApplicationTitle()), Text(text), MessageKind::Information);
}

void SystemDesktop::ShowException(const std::string& text) {
  ShowBox(Text(ApplicationTitle()), Text(text), MessageKind::Error);
}

bool SystemDesktop::AskYesNo(const std::string& text) {
  return ShowBox(Text(ApplicationTitle()), Text(text), MessageKind::Question) == QDialog::Accepted;
}

void SystemDesktop::Sleep(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string SystemDesktop::TimeOfDay() const {
  // The C library's time format follows the system's regional settings.
  const std::time_t now = std::time(nullptr);
  char text[64];
  const size_t length = std::strftime(text, sizeof text, "%X", std::localtime(&now));
  return Utf8(QString::fromLocal8Bit(text, static_cast<qsizetype>(length)));
}

QWidget* WidgetOf(WindowView& view) { return dynamic_cast<QWidget*>(&view); }

std::string SystemDesktop::ChooseFileToOpen(WindowView& owner, const std::string& filter,
                                            const std::string& last_file) {
  // An open dialog that takes any name, even one that does not exist: reading the file
  // then tells the operator why it cannot be opened, as for any file that cannot be read.
  QFileDialog dialog(WidgetOf(owner), QString(), Text(last_file), QtFileFilter(Text(filter)));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (dialog.exec() != QDialog::Accepted) return {};
  return Utf8(dialog.selectedFiles().value(0));
}

std::string SystemDesktop::ChooseFileToSave(WindowView& owner, const std::string& filter,
                                            const std::string& suggested) {
  // Records are appended to the chosen file: an existing one is not asked about.
  QFileDialog dialog(WidgetOf(owner), QString(), Text(suggested), QtFileFilter(Text(filter)));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted) return {};
  return Utf8(dialog.selectedFiles().value(0));
}

void SystemDesktop::OpenAddress(WindowView&, const std::string& address) {
  QDesktopServices::openUrl(QUrl(Text(address)));
}

std::vector<std::string> SystemDesktop::ListSerialPorts() {
  std::vector<std::string> names;
  zorvan::ListSerialPorts(names);
  return names;
}

std::vector<SerialPortInfo> SystemDesktop::ListSerialPortDetails() { return zorvan::ListSerialPortDetails(); }

bool SystemDesktop::PortPresent(const std::string& port) { return zorvan::PortPresent(port); }

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
