#include "app/test_harness.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>
#include <algorithm>

#include "app/app_texts.h"

namespace zorvan::app::testing {

bool LoaderStandIn::Open() {
  ++openings;
  is_open = true;
  return true;
}

bool LoaderStandIn::Close() {
  is_open = false;
  queued_.clear();
  return true;
}

int LoaderStandIn::WriteStr(const std::string& text) {
  written.push_back(text);
  if (on_write) on_write(text);
  if (!answers) return static_cast<int>(text.size());
  if (text == "w0202;") {
    queued_ += "w8202" "0000" + geometry + "00;";
  } else if (text == "w0303;") {
    queued_ += "w83" + description + "00;";
  } else if (text.size() > 3 && text[0] == 'w' && text != "wwwww") {
    queued_ += "w8" + text.substr(2, 1) + "00;";
  }
  return static_cast<int>(text.size());
}

int LoaderStandIn::ReadStr(std::string& text, int count) {
  const size_t n = std::min(queued_.size(), static_cast<size_t>(std::max(count, 0)));
  text = queued_.substr(0, n);
  queued_.erase(0, n);
  return static_cast<int>(n);
}

int LoaderStandIn::Count(const std::string& frame) const {
  return static_cast<int>(std::count(written.begin(), written.end(), frame));
}

Windows::Windows(QStringList virtual_ports, std::function<void(RecordingDesktop&)> prepare,
                 std::unique_ptr<PortOperations> other_port) {
  desktop.SetApplicationTitle(Text(kProvisionalTitle));
  desktop.system_ports = QStringList{QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyUSB0")};
  desktop.really_sleep = false;
  if (prepare) prepare(desktop);
  if (!other_port) {
    auto stand_in = std::make_unique<LoaderStandIn>();
    port = stand_in.get();
    other_port = std::move(stand_in);
  }
  form = std::make_unique<TMainForm>(desktop, std::move(other_port), std::move(virtual_ports));
  // The stand-in devices hold a few dozen bytes, far less than the carried firmware,
  // which a real run would refuse before erasing. These tests are about how the window
  // goes through runs, so the image is taken as written nowhere beyond them.
  form->State().WrittenRanges.clear();
  help = std::make_unique<TFormHelp>(desktop);
  form->SetFormHelp(help.get());
}

Windows::~Windows() {
  help.reset();
  form.reset();
}

static QWidget* KeyTarget(QWidget* form) {
  QWidget* focused = QApplication::focusWidget();
  return focused ? focused : form;
}

void Windows::Press(int qt_key, Qt::KeyboardModifiers modifiers) {
  QTest::keyClick(KeyTarget(form.get()), static_cast<Qt::Key>(qt_key), modifiers);
}

void Windows::PressLater(int qt_key, Qt::KeyboardModifiers modifiers) {
  QApplication::postEvent(KeyTarget(form.get()), new QKeyEvent(QEvent::KeyPress, qt_key, modifiers));
}

void Windows::Run(void (TMainForm::*handler)()) { form->Run(handler); }

void Windows::Click(const char* button) { Find<QAbstractButton>(button)->click(); }

QString Windows::Status() const { return Find<QLabel>("LabelNameOfHex")->text(); }

QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace zorvan::app::testing
