#pragma once
// The GUI thread of a program with a window: the calls and notices the event threads
// hand over run in the window's event loop, and so also at the points where a running
// procedure lets pending messages through, as a thread's synchronised call runs in the
// toolkit the window was designed for. Each toolkit gives only the means to ask its
// event loop for a call soon (a queued call, a posted message).

#include <atomic>
#include <functional>

#include "serial/gui_thread.h"
#include "serial/queued_gui_thread.h"

namespace zorvan {

class EventLoopGuiThread : public GuiThread {
 public:
  using ErrorDisplay = std::function<void(const std::exception&)>;
  // `display` is the application's display of an error that ended a handler. Made on,
  // and used from, the GUI thread; it must outlive the ports given it.
  explicit EventLoopGuiThread(ErrorDisplay display);

  void Synchronize(const std::function<void()>& call) override;
  std::unique_ptr<NoticeWindow> CreateNoticeWindow(NoticeHandler handler) override;
  // Serves the event threads' calls and notices only: the operator's input waits.
  void ServeUntil(const std::function<bool()>& finished) override { queue_.ServeUntil(finished); }
  void WakeServing() override { queue_.WakeServing(); }
  void HandleException(const std::exception& error) override { display_(error); }

 protected:
  // From any thread: have the event loop call ServeFromEventLoop soon, once for each ask.
  virtual void AskEventLoopToServe() = 0;
  // In the event loop: serves what is waiting, and asks again while a handoff has been
  // announced but is not queued yet.
  void ServeFromEventLoop();

 private:
  class Window;

  // From an event thread: hands `handoff` over, with the event loop asked to serve it.
  void HandOver(const std::function<void()>& handoff);

  ErrorDisplay display_;
  QueuedGuiThread queue_;
  std::atomic<int> handoffs_under_way_{0};
};

}  // namespace zorvan
