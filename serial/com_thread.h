#pragma once
// TComThread, the port's event monitoring thread: while the port is open it waits for the
// device's line events and has them delivered to the port's handlers in the way the
// port's SyncMethod chooses. One thread serves one opening of the port.

#include <atomic>
#include <memory>
#include <thread>

#include "serial/com_events.h"
#include "serial/gui_thread.h"
#include "serial/line_event_device.h"

namespace zorvan {

class TBComPort;

class TComThread {
 public:
  // Arms the port's MonitoredEvents on `device` and starts watching. `device` and `gui`
  // outlive the thread.
  TComThread(TBComPort& owner_port, LineEventDevice& device, GuiThread& gui);
  // Stops the thread and waits for its end; on the GUI thread the wait keeps serving the
  // thread's pending dispatch or notice, so that the thread can finish it and see the
  // stop. The thread's last acts disarm the events and discard both queues.
  //
  // From inside the thread's own dispatch (a handler that closes the port) the thread
  // cannot end before the handler returns: the last acts are done here, and the thread
  // ends on its own once the handler has returned, touching nothing of the port.
  ~TComThread();
  TComThread(const TComThread&) = delete;
  TComThread& operator=(const TComThread&) = delete;

 private:
  void Run();
  void Execute(const std::atomic<bool>& abandoned);
  void RequestStop();
  // Runs the notification of every kind in FiredEvents, errors first.
  void DispatchEvents();
  // Sends one notice to the port's NotifyWindow for every kind in FiredEvents.
  void PostToWindow();
  // Disarms the events and discards both queues.
  void ReleaseDevice();

  TBComPort& OwnerPort;
  LineEventDevice& device_;
  GuiThread& gui_;
  // The kinds of the last wait that reported events.
  TComEventKinds FiredEvents;
  // Shared with the running thread, which outlives this object when a handler closed the
  // port from inside the thread's dispatch.
  const std::shared_ptr<std::atomic<bool>> abandoned_ = std::make_shared<std::atomic<bool>>(false);
  // The thread DispatchEvents runs on at the moment, if it runs.
  std::atomic<std::thread::id> dispatching_on_{};
  std::atomic<bool> ended_{false};
  bool released_ = false;
  std::thread thread_;
};

}  // namespace zorvan
