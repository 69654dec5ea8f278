#include "tests/support/form_harness.h"

#include "app/app_texts.h"

namespace zorvan::app::testing {

namespace {

// kOperatingControls as the view has them.
constexpr MainControl kOperatingViewControls[] = {MainControl::ButtonWrite, MainControl::ButtonConect,
                                                  MainControl::ButtonOpenHex, MainControl::cbPort,
                                                  MainControl::cbBaudRate};

}  // namespace

Forms::Forms(std::vector<std::string> virtual_ports, std::function<void(RecordingDesktop&)> prepare,
             std::unique_ptr<PortOperations> other_port) {
  desktop.SetApplicationTitle(kProvisionalTitle);
  desktop.system_ports = std::vector<std::string>{"/dev/ttyS0", "/dev/ttyUSB0"};
  desktop.really_sleep = false;
  if (prepare) prepare(desktop);
  if (!other_port) {
    auto stand_in = std::make_unique<LoaderStandIn>();
    port = stand_in.get();
    other_port = std::move(stand_in);
  }
  help = std::make_unique<TFormHelp>(help_view, desktop);
  form = std::make_unique<TMainForm>(main_view, desktop, std::move(other_port), std::move(virtual_ports));
  form->SetFormHelp(*help);
  form->FormCreate();
  // The stand-in devices hold a few dozen bytes, far less than the carried firmware,
  // which a real run would refuse before erasing. These tests are about how the window
  // goes through runs, so the image is taken as written nowhere beyond them.
  form->State().WrittenRanges.clear();
}

void Forms::Press(uint16_t key, ShiftState shift) { form->FormKeyDown(key, shift); }

std::string Forms::EnabledControls() const {
  std::string state;
  for (MainControl control : kOperatingViewControls) state += main_view[control].enabled ? '1' : '0';
  return state;
}

void Forms::SetEnabledControls(const std::string& state) {
  for (size_t i = 0; i < std::size(kOperatingControls); ++i) {
    form->SetEnabled(kOperatingControls[i], state.at(i) == '1');
  }
}

}  // namespace zorvan::app::testing
