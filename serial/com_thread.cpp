#include "serial/com_thread.h"

#include "serial/bcport.h"

namespace zorvan {

TComThread::TComThread(TBComPort& owner_port, LineEventDevice& device, GuiThread& gui)
    : OwnerPort(owner_port), device_(device), gui_(gui) {
  device_.SetEventMask(EventKindsToMask(OwnerPort.MonitoredEvents()));
  thread_ = std::thread(&TComThread::Run, this);
}

TComThread::~TComThread() {
  RequestStop();
  if (dispatching_on_.load() == std::this_thread::get_id()) {
    // The thread waits for this very dispatch to return; waiting for the thread here
    // would never end.
    *abandoned_ = true;
    ReleaseDevice();
    thread_.detach();
    return;
  }
  gui_.ServeUntil([this] { return ended_.load(); });
  thread_.join();
  // A body ended by a handler's error skipped its last acts; they are owed all the same,
  // and the port is about to release the device.
  if (!released_) ReleaseDevice();
}

void TComThread::RequestStop() {
  device_.RequestStop();
  std::this_thread::yield();
}

void TComThread::Run() {
  const std::shared_ptr<std::atomic<bool>> abandoned = abandoned_;
  try {
    Execute(*abandoned);
  } catch (...) {
    // An error passed back from a handler ends the body, as it does a thread's body;
    // nobody is told: the port stays open, and closing it still stops this thread.
  }
  if (*abandoned) return;
  ended_ = true;
  gui_.WakeServing();
}

void TComThread::Execute(const std::atomic<bool>& abandoned) {
  for (;;) {
    const std::optional<uint32_t> fired = device_.WaitForEvents();
    if (!fired) break;
    // A failed wait reports nothing; the next one may go well.
    if (*fired == 0) continue;
    FiredEvents = MaskToEventKinds(*fired);
    switch (OwnerPort.SyncMethod()) {
      case smThreadSync:
        gui_.Synchronize([this] { DispatchEvents(); });
        break;
      case smWindowSync:
        PostToWindow();
        break;
      case smNone:
        DispatchEvents();
        break;
    }
    if (abandoned) return;
  }
  ReleaseDevice();
}

void TComThread::DispatchEvents() {
  // Copied first: a handler may close the port, and with it free this object.
  const TComEventKinds fired = FiredEvents;
  TBComPort& port = OwnerPort;
  const std::shared_ptr<std::atomic<bool>> abandoned = abandoned_;
  struct DispatchMark {
    TComThread* Thread;
    const std::atomic<bool>& Abandoned;
    ~DispatchMark() {
      if (!Abandoned) Thread->dispatching_on_ = std::thread::id();
    }
  } mark{this, *abandoned};
  dispatching_on_ = std::this_thread::get_id();
  for (TComEventKind kind : kDispatchOrder) {
    // Once a handler has closed the port from here, its owner may free it at any time.
    if (*abandoned) return;
    if (fired.Contains(kind)) port.Notify(kind);
  }
}

void TComThread::PostToWindow() {
  for (TComEventKind kind : kDispatchOrder) {
    if (FiredEvents.Contains(kind)) OwnerPort.NotifyWindow()->SendNotice(NoticeCode(kind));
  }
}

void TComThread::ReleaseDevice() {
  device_.SetEventMask(0);
  device_.DiscardQueues();
  released_ = true;
}

}  // namespace zorvan
