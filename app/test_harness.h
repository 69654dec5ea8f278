#pragma once
// The main and help windows on a recording desktop, for the window's Qt tests, with a
// stand-in device on the port.

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/form_help.h"
#include "app/main_form.h"
#include "app/recording_desktop.h"
#include "serial/port_operations.h"

namespace zorvan::app::testing {

// A port with a loader behind it that answers at once: identification with the given
// geometry, the description, and an acknowledgement for every other frame. What it
// answers stays queued until read.
class LoaderStandIn : public PortOperations {
 public:
  std::string description = "250101";
  std::string geometry = "02040008";  // chunks per block, bytes per chunk, blocks (hex)
  bool answers = true;
  std::vector<std::string> written;  // every frame, in order
  // Runs after every write, as the operator's hand would during a run.
  std::function<void(const std::string&)> on_write;
  std::string port_name;
  int openings = 0;
  bool is_open = false;

  bool Open() override;
  bool Close() override;
  int WriteStr(const std::string& text) override;
  int ReadStr(std::string& text, int count) override;
  void SetPort(const std::string& name) override { port_name = name; }
  void SetBaudRate(TBaudRate) override {}

  int Count(const std::string& frame) const;

 private:
  std::string queued_;
};

struct Windows {
  // `port` stands in for the window's serial port; without one, a LoaderStandIn does.
  explicit Windows(QStringList virtual_ports = {}, std::function<void(RecordingDesktop&)> prepare = {},
                   std::unique_ptr<PortOperations> port = nullptr);
  ~Windows();

  template <typename Control>
  Control* Find(const char* name) const {
    return form->findChild<Control*>(QString::fromLatin1(name));
  }
  // Clicks a button as the operator would: an error that ends its handler reaches the
  // recording desktop's exception display.
  void Click(const char* button);
  // Runs a handler as the window runs it: an error that ends it is shown.
  void Run(void (TMainForm::*handler)());
  // Presses a key as the operator would: it goes to the control that has the focus.
  void Press(int qt_key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Queues a key press that a running procedure lets through at its next point.
  void PressLater(int qt_key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  QString Status() const;

  RecordingDesktop desktop;
  LoaderStandIn* port = nullptr;  // the stand-in, when the window has one
  std::unique_ptr<TMainForm> form;
  std::unique_ptr<TFormHelp> help;
};

QString Utf8(const char* text);

}  // namespace zorvan::app::testing
