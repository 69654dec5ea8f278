#pragma once
// The GUI thread as a port's event thread sees it: where the port's line events are
// delivered under smThreadSync and smWindowSync. The window implements it with its event
// loop; programs without a window use QueuedGuiThread (serial/queued_gui_thread.h).

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

namespace zorvan {

// A hidden window that takes the port's event notices on the GUI thread.
class NoticeWindow {
 public:
  // Destroyed on the GUI thread, possibly by the handler it is running at the time.
  virtual ~NoticeWindow() = default;
  // From the event thread: hands `code` to the window's handler on the GUI thread, and
  // returns once the handler has released the sender, or has returned without doing so.
  virtual void SendNotice(uint32_t code) = 0;
};

// Runs on the GUI thread for each notice. Calling `release_sender` lets the event thread
// go on while the handler is still running.
using NoticeHandler =
    std::function<void(uint32_t code, const std::function<void()>& release_sender)>;

class GuiThread {
 public:
  virtual ~GuiThread() = default;

  // From another thread: runs `call` on the GUI thread, waits for its end, and raises
  // here what it raised there.
  virtual void Synchronize(const std::function<void()>& call) = 0;

  // On the GUI thread: a new notice window whose handler is `handler`.
  virtual std::unique_ptr<NoticeWindow> CreateNoticeWindow(NoticeHandler handler) = 0;

  // On the GUI thread, while a port waits for its event thread to end: runs the calls
  // and notices other threads hand over (and nothing of the operator's) until
  // `finished()` is true. A thread that makes it true calls WakeServing afterwards.
  virtual void ServeUntil(const std::function<bool()>& finished) = 0;
  // From any thread: have ServeUntil look at its condition again.
  virtual void WakeServing() = 0;

  // On the GUI thread: the application's display of an error that ended a handler.
  virtual void HandleException(const std::exception& error) = 0;
};

}  // namespace zorvan
