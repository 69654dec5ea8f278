#pragma once
// The GUI thread of a program without a window (the command line, the tests): the calls
// and notices of event threads wait in a queue until the thread that owns the ports
// serves them, at its points of processing pending messages (ServePending) and while a
// port closes (ServeUntil).

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "serial/gui_thread.h"

namespace zorvan {

class QueuedGuiThread final : public GuiThread {
 public:
  using ErrorDisplay = std::function<void(const std::exception&)>;
  // `display` shows an error that ended a notice's handler; without one the text goes to
  // standard error.
  explicit QueuedGuiThread(ErrorDisplay display = nullptr);
  // Every port served here must be closed first: a call still queued would never end.
  ~QueuedGuiThread() override = default;

  void Synchronize(const std::function<void()>& call) override;
  std::unique_ptr<NoticeWindow> CreateNoticeWindow(NoticeHandler handler) override;
  void ServeUntil(const std::function<bool()>& finished) override;
  void WakeServing() override;
  void HandleException(const std::exception& error) override;

  // Runs the calls and notices waiting now, in the order they came; returns how many.
  int ServePending();
  // Waits up to `limit` until a call or a notice is waiting; false when none came.
  bool WaitForPending(std::chrono::milliseconds limit);

 private:
  // One call or notice, and whether its sender may go on.
  struct Task {
    std::function<void(const std::function<void()>& release_sender)> Run;
    bool Released = false;
  };
  class Window;

  // Queues `task` and waits until it has been served far enough to release its sender.
  void Hand(const std::shared_ptr<Task>& task);
  void Release(Task& task);

  ErrorDisplay display_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::shared_ptr<Task>> queue_;
  bool wake_ = false;
};

// The GUI thread of the ports that were given none, served by whoever calls its
// ServePending (the command line, at its points of processing pending messages) and by
// every Close.
QueuedGuiThread& DefaultGuiThread();

}  // namespace zorvan
