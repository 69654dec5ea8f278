// zorvan-flasher: the window. `zorvan-flasher [PORT...] [--production PORT... [--start]]`:
// port paths given as arguments are offered first in the port boxes, for ports no system
// table lists (a simulator's pseudo-terminal, for one); --production opens the production
// window with the ports after it ticked, and --start starts them.

#include <QApplication>

#include "app/form_help.h"
#include "app/handler_guard.h"
#include "app/main_form.h"
#include "app/production_form.h"
#include "app/qt/form_help_widget.h"
#include "app/qt/main_form_widget.h"
#include "app/qt/pictures.h"
#include "app/qt/production_form_widget.h"
#include "app/qt/qt_gui_thread.h"
#include "app/qt/qt_text.h"
#include "app/qt/system_desktop.h"
#include "app/window_arguments.h"
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

  std::vector<std::string> texts;
  for (const QString& argument : application.arguments().mid(1)) texts.push_back(Utf8(argument));
  const WindowArguments arguments = ParseWindowArguments(texts);

  MainFormWidget main_window;
  FormHelpWidget help_window;
  ProductionFormWidget production_window;
  TMainForm MainForm(main_window, desktop, std::move(port), arguments.virtual_ports);
  TFormHelp FormHelp(help_window, desktop);
  // Made after the main form and gone before it: its ports' threads end with it.
  TProductionForm ProductionForm(production_window, desktop, arguments.virtual_ports);
  main_window.Connect(&MainForm);
  help_window.Connect(&FormHelp);
  production_window.Connect(&ProductionForm);
  MainForm.SetFormHelp(FormHelp);
  MainForm.SetProductionForm(ProductionForm);
  StartProgram(desktop, MainForm);
  if (!arguments.problem.empty()) desktop.ShowMessage(arguments.problem);
  if (arguments.production) MainForm.OpenProductionWindow(arguments.production_ports, arguments.start);
  const int status = application.exec();
  // The forms go before their windows: what the windows do on their way reaches no form.
  main_window.Connect(nullptr);
  help_window.Connect(nullptr);
  production_window.Connect(nullptr);
  return status;
}
