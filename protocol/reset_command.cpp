#include "protocol/reset_command.h"

#include "protocol/exchanges.h"

namespace zorvan {

void ResetDevice(Flasher& flasher) {
  if (!ReopenPort(flasher)) return;
  ResetSequence(flasher);
  flasher.port.Close();
  flasher.surface.ShowMessage("Скинуто прилад!!!");
}

}  // namespace zorvan
