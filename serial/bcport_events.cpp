// The port's side of the event monitoring: starting and stopping the event thread, the
// notice window's handler, the eight notifications and the status queries.

#include "serial/bcport.h"
#include "serial/com_thread.h"

namespace zorvan {

void TBComPort::SetGuiThread(GuiThread& gui) {
  if (connected_) throw EComPort(com_text::kChangeWhileOpen);
  gui_thread_ = &gui;
}

void TBComPort::SetLineEventDeviceFactory(LineEventDeviceFactory factory) {
  if (connected_) throw EComPort(com_text::kChangeWhileOpen);
  line_event_factory_ = std::move(factory);
}

void TBComPort::StartEventMonitoring() {
  line_events_ = line_event_factory_(handle_, tally_);
  // The window comes first: the thread may send its first notice at once.
  if (sync_method_ == smWindowSync) {
    notify_window_ = gui_thread_->CreateNoticeWindow(
        [this](uint32_t code, const std::function<void()>& release_sender) {
          WindowHandler(code, release_sender);
        });
  }
  event_thread_ = std::make_unique<TComThread>(*this, *line_events_, *gui_thread_);
}

void TBComPort::StopEventMonitoring() {
  stopping_events_ = true;
  event_thread_.reset();
  notify_window_.reset();
  line_events_.reset();
  stopping_events_ = false;
}

void TBComPort::WindowHandler(uint32_t code, const std::function<void()>& release_sender) {
  // The event thread goes on while the notification runs: a handler here never holds it.
  release_sender();
  const std::optional<TComEventKind> kind = NoticeKind(code);
  if (!kind) return;
  try {
    Notify(*kind);
  } catch (const std::exception& error) {
    gui_thread_->HandleException(error);
  }
}

void TBComPort::Notify(TComEventKind kind) {
  if (!connected_ || stopping_events_) return;
  switch (kind) {
    case ekRxChar: return NotifyRxChar();
    case ekTxEmpty: return NotifyTxEmpty();
    case ekRing: return NotifyRing();
    case ekCTS: return NotifyCTSChange();
    case ekDSR: return NotifyDSRChange();
    case ekRLSD: return NotifyRLSDChange();
    case ekError: return NotifyError();
    case ekRx80Full: return NotifyRx80Full();
  }
}

void TBComPort::NotifyRxChar() {
  // Read even with no handler: the count clears the line's error flags.
  const int32_t count = RxQueueCount();
  if (count > 0 && on_rx_char_) on_rx_char_(*this, count);
}

void TBComPort::NotifyTxEmpty() {
  if (on_tx_empty_) on_tx_empty_(*this);
}

void TBComPort::NotifyRing() {
  if (on_ring_) on_ring_(*this);
}

void TBComPort::NotifyRx80Full() {
  if (on_rx80_full_) on_rx80_full_(*this);
}

// The signal handlers read the lines only when assigned: with none, a change costs nothing.
void TBComPort::NotifyCTSChange() {
  if (on_cts_change_) on_cts_change_(*this, LineSignals().Contains(lsCTS));
}

void TBComPort::NotifyDSRChange() {
  if (on_dsr_change_) on_dsr_change_(*this, LineSignals().Contains(lsDSR));
}

void TBComPort::NotifyRLSDChange() {
  if (on_rlsd_change_) on_rlsd_change_(*this, LineSignals().Contains(lsRLSD));
}

void TBComPort::NotifyError() {
  // Read even with no handler, which clears the flags.
  const TComErrors errors = ErrorFlagsToComErrors(ClearCommError().ErrorFlags, parity_);
  if (!errors.Empty() && on_error_) on_error_(*this, errors);
}

CommStatus TBComPort::ClearCommError() {
  const std::optional<CommStatus> status =
      line_events_ ? line_events_->ClearCommError() : std::nullopt;
  if (!status) throw EComPort(com_text::kClearCommErrorFailed);
  return *status;
}

int32_t TBComPort::RxQueueCount() { return ClearCommError().Waiting; }

TComLineSignals TBComPort::LineSignals() {
  const std::optional<uint32_t> status = line_events_ ? line_events_->ModemStatus() : std::nullopt;
  if (!status) throw EComPort(com_text::kGetCommModemStatusFailed);
  return ModemStatusToLineSignals(*status);
}

}  // namespace zorvan
