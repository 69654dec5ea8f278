#pragma once
// The main and help windows' logic on recording views and a recording desktop, with a
// stand-in device on the port, for the forms' own tests.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/form_help.h"
#include "tests/support/loader_stand_in.h"
#include "app/main_form.h"
#include "tests/support/recording_desktop.h"
#include "tests/support/recording_views.h"

namespace zorvan::app::testing {

struct Forms {
  // Makes both forms and runs the main window's creation handler. `prepare` sees the
  // desktop first; `port` stands in for the window's serial port, a LoaderStandIn when
  // none is given.
  explicit Forms(std::vector<std::string> virtual_ports = {}, std::function<void(RecordingDesktop&)> prepare = {},
                 std::unique_ptr<PortOperations> port = nullptr);

  // A key pressed while the main window is active.
  void Press(uint16_t key, ShiftState shift = {});
  const std::string& Status() const { return main_view[MainControl::LabelNameOfHex].text; }
  // The five operating controls as '1' (enabled) and '0': write, detect, open, port, rate.
  std::string EnabledControls() const;
  void SetEnabledControls(const std::string& state);

  RecordingDesktop desktop;
  RecordingMainView main_view;
  RecordingHelpView help_view;
  LoaderStandIn* port = nullptr;  // the stand-in, when the window has one
  std::unique_ptr<TFormHelp> help;
  std::unique_ptr<TMainForm> form;
};

}  // namespace zorvan::app::testing
