#include "protocol/exchanges.h"

#include "protocol/frames.h"
#include "serial/port_list.h"

namespace zorvan {

namespace {

constexpr int kShortReply = 20;
constexpr int kIdentReply = 140;

void Write(Flasher& flasher, std::string_view text) { flasher.port.WriteStr(std::string(text)); }

void Pause(Flasher& flasher, unsigned milliseconds) {
  if (milliseconds > 0) flasher.surface.Sleep(milliseconds);
}

// Empties `buffer` and reads up to `count` characters into it.
void ReadInto(Flasher& flasher, std::string& buffer, int count) {
  buffer.clear();
  flasher.port.ReadStr(buffer, count);
}

}  // namespace

bool ReopenPort(Flasher& flasher) {
  if (flasher.port.Close()) {
    flasher.port.SetPort(flasher.surface.PortName());
    flasher.port.SetBaudRate(static_cast<TBaudRate>(flasher.surface.BaudRateIndex()));
  }
  const bool open = flasher.port.Open();
  // Read after opening: on Linux the port asks the adapter's driver for a short timer then.
  flasher.exchange.reported_adapter_latency_ms = AdapterLatencyTimerMs(flasher.surface.PortName());
  return open;
}

void PacedSend(Flasher& flasher, std::string_view text, int gauge_step, unsigned pause_ms) {
  Write(flasher, text);
  flasher.surface.StepGauge(gauge_step);
  Pause(flasher, pause_ms);
}

void WakeUpBurst(Flasher& flasher) {
  for (int i = 0; i < 5; ++i) PacedSend(flasher, kWakeUp, 10, 50);
}

void DrainInput(Flasher& flasher) {
  ReadInto(flasher, flasher.state.IdentText, kIdentReply);
  ReadInto(flasher, flasher.state.IdentText, kIdentReply);
}

void ResetSequence(Flasher& flasher) {
  Write(flasher, kResetFrame);
  Pause(flasher, 100);
  ReadInto(flasher, flasher.state.ReplyText, kShortReply);
  Write(flasher, kResetFrame);
  ReadInto(flasher, flasher.state.ReplyText, kShortReply);
  flasher.surface.MessageBeep(MB_ICONEXCLAMATION);
}

}  // namespace zorvan
