#include "protocol/stop_command.h"

namespace zorvan {

bool StopCommand(FlasherState& state, OperatorSurface& surface) {
  if (surface.GaugeProgress() == 0) return false;
  state.StopFlag = -1;
  for (Control c : {Control::ButtonConect, Control::ButtonOpenHex, Control::ButtonWrite, Control::cbPort,
                    Control::cbBaudRate}) {
    surface.SetEnabled(c, true);
  }
  surface.SetStatus(kStoppedStatus);
  surface.ShowMessage(std::string(19, ' ') + "Зупинено користувачем!\r\n" + std::string(9, ' ') +
                      "Мікропрограма записана частково!\r\n"
                      "Необхідно повторно вибрати файл прошивки,\r\n" +
                      std::string(4, ' ') + "і провести запис, інакще в подальшому\r\n" + std::string(13, ' ') +
                      "прилад буде не працездатний!");
  return true;
}

}  // namespace zorvan
