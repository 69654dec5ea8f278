// zorvan-flasher: the window. Port paths given as arguments are offered first in the port
// box, for ports no system table lists (a simulator's pseudo-terminal, for one).

#include <QApplication>

#include "app/app_texts.h"
#include "app/form_help.h"
#include "app/handler_guard.h"
#include "app/main_form.h"
#include "app/pictures.h"
#include "app/qt_gui_thread.h"
#include "app/system_desktop.h"
#include "protocol/loader_port.h"
#include "serial/bcport.h"

int main(int argc, char** argv) {
  using namespace zorvan::app;
  QApplication application(argc, argv);
  SystemDesktop desktop;
  desktop.SetApplicationTitle(Text(kProvisionalTitle));
  QApplication::setWindowIcon(ProgramIcon());

  // Made before the port and gone after it: closing the port serves its event thread.
  QtGuiThread gui_thread([&desktop](const std::exception& error) { ShowDefaultException(desktop, error); });
  auto port = std::make_unique<zorvan::TBComPort>();
  zorvan::ApplyLoaderPortSettings(*port);
  port->SetGuiThread(gui_thread);
  TMainForm MainForm(desktop, std::move(port), application.arguments().mid(1));
  TFormHelp FormHelp(desktop);
  MainForm.SetFormHelp(&FormHelp);
  MainForm.show();
  return application.exec();
}
