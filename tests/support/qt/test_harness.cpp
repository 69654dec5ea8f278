#include "tests/support/qt/test_harness.h"

#include <QLabel>
#include <QTest>

#include "app/app_texts.h"

namespace zorvan::app::testing {

Windows::Windows(std::vector<std::string> virtual_ports, std::unique_ptr<PortOperations> other_port) {
  desktop.SetApplicationTitle(kProvisionalTitle);
  desktop.system_ports = std::vector<std::string>{"/dev/ttyS0", "/dev/ttyUSB0"};
  desktop.really_sleep = false;
  if (!other_port) {
    auto stand_in = std::make_unique<LoaderStandIn>();
    port = stand_in.get();
    other_port = std::move(stand_in);
  }
  main_window = std::make_unique<MainFormWidget>();
  help_window = std::make_unique<FormHelpWidget>();
  help = std::make_unique<TFormHelp>(*help_window, desktop);
  form = std::make_unique<TMainForm>(*main_window, desktop, std::move(other_port), std::move(virtual_ports));
  main_window->Connect(form.get());
  help_window->Connect(help.get());
  form->SetFormHelp(*help);
  form->FormCreate();
  // The stand-in devices hold a few dozen bytes, far less than the carried firmware,
  // which a real run would refuse before erasing. These tests are about how the window
  // goes through runs, so the image is taken as written nowhere beyond them.
  form->State().WrittenRanges.clear();
}

Windows::~Windows() {
  // The windows go first, so that nothing they do on their way reaches a form that is gone.
  help_window.reset();
  main_window.reset();
}

static QWidget* KeyTarget(QWidget* window) {
  QWidget* focused = QApplication::focusWidget();
  return focused ? focused : window;
}

void Windows::Press(int qt_key, Qt::KeyboardModifiers modifiers) {
  QTest::keyClick(KeyTarget(main_window.get()), static_cast<Qt::Key>(qt_key), modifiers);
}

void Windows::PressLater(int qt_key, Qt::KeyboardModifiers modifiers) {
  QApplication::postEvent(KeyTarget(main_window.get()), new QKeyEvent(QEvent::KeyPress, qt_key, modifiers));
}

QString Windows::Status() const { return Find<QLabel>("LabelNameOfHex")->text(); }

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QStringList Texts(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& text : texts) list << QString::fromStdString(text);
  return list;
}

}  // namespace zorvan::app::testing
