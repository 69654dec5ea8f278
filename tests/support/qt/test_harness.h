#pragma once
// The main and help windows, Qt views on their forms, on a recording desktop, for the
// views' Qt tests, with a stand-in device on the port.

#include <QApplication>
#include <QKeyEvent>
#include <memory>
#include <string>
#include <vector>

#include "app/form_help.h"
#include "tests/support/loader_stand_in.h"
#include "app/main_form.h"
#include "app/qt/form_help_widget.h"
#include "app/qt/main_form_widget.h"
#include "tests/support/recording_desktop.h"

namespace zorvan::app::testing {

struct Windows {
  // Makes both windows and their forms, and runs the main window's creation handler.
  // `port` stands in for the window's serial port; without one, a LoaderStandIn does.
  explicit Windows(std::vector<std::string> virtual_ports = {}, std::unique_ptr<PortOperations> port = nullptr);
  ~Windows();

  template <typename Control>
  Control* Find(const char* name) const {
    return main_window->findChild<Control*>(QString::fromLatin1(name));
  }
  // Presses a key as the operator would: it goes to the control that has the focus.
  void Press(int qt_key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Queues a key press that a running procedure lets through at its next point.
  void PressLater(int qt_key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  QString Status() const;

  RecordingDesktop desktop;
  LoaderStandIn* port = nullptr;  // the stand-in, when the window has one
  std::unique_ptr<MainFormWidget> main_window;
  std::unique_ptr<FormHelpWidget> help_window;
  std::unique_ptr<TFormHelp> help;
  std::unique_ptr<TMainForm> form;
};

QString Utf8(const char* text);
QStringList Texts(const std::vector<std::string>& texts);

}  // namespace zorvan::app::testing
