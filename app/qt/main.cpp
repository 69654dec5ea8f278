// zorvan-flasher: the window. Port paths given as arguments are offered first in the port
// box, for ports no system table lists (a simulator's pseudo-terminal, for one).

#include <QApplication>

#include "app/form_help.h"
#include "app/handler_guard.h"
#include "app/main_form.h"
#include "app/qt/form_help_widget.h"
#include "app/qt/main_form_widget.h"
#include "app/qt/pictures.h"
#include "app/qt/qt_gui_thread.h"
#include "app/qt/qt_text.h"
#include "app/qt/system_desktop.h"
#include "protocol/loader_port.h"
#include "serial/bcport.h"

int main(int argc, char** argv) {
  using namespace zorvan::app;
  QApplication application(argc, argv);
  SystemDesktop desktop;
  QApplication::setWindowIcon(ProgramIcon());

  // Made before the port and gone after it: closing the port serves its event thread.
  QtGuiThread gui_thread([&desktop](const std::exception& error) { ShowDefaultException(desktop, error); });
  auto port = std::make_unique<zorvan::TBComPort>();
  zorvan::ApplyLoaderPortSettings(*port);
  port->SetGuiThread(gui_thread);

  std::vector<std::string> virtual_ports;
  for (const QString& argument : application.arguments().mid(1)) virtual_ports.push_back(Utf8(argument));

  MainFormWidget main_window;
  FormHelpWidget help_window;
  TMainForm MainForm(main_window, desktop, std::move(port), std::move(virtual_ports));
  TFormHelp FormHelp(help_window, desktop);
  main_window.Connect(&MainForm);
  help_window.Connect(&FormHelp);
  MainForm.SetFormHelp(FormHelp);
  StartProgram(desktop, MainForm);
  const int status = application.exec();
  // The forms go before their windows: what the windows do on their way reaches no form.
  main_window.Connect(nullptr);
  help_window.Connect(nullptr);
  return status;
}
