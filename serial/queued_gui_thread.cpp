#include "serial/queued_gui_thread.h"

#include <iostream>

#include "common/errors.h"

namespace zorvan {

class QueuedGuiThread::Window final : public NoticeWindow {
 public:
  Window(QueuedGuiThread& gui, NoticeHandler handler)
      : gui_(gui), state_(std::make_shared<State>(State{std::move(handler), true})) {}
  // A notice that was still queued is then taken without running the handler.
  ~Window() override { state_->Alive = false; }

  void SendNotice(uint32_t code) override {
    auto task = std::make_shared<Task>();
    task->Run = [state = state_, code](const std::function<void()>& release_sender) {
      if (state->Alive) state->Handler(code, release_sender);
    };
    gui_.Hand(task);
  }

 private:
  // Shared with the queued notices, so that a handler that destroys its own window keeps
  // running on intact state.
  struct State {
    NoticeHandler Handler;
    bool Alive;
  };
  QueuedGuiThread& gui_;
  std::shared_ptr<State> state_;
};

QueuedGuiThread::QueuedGuiThread(ErrorDisplay display) : display_(std::move(display)) {
  if (!display_) {
    display_ = [](const std::exception& error) {
      std::cerr << ExceptionDisplayText(error.what()) << '\n';
    };
  }
}

void QueuedGuiThread::Synchronize(const std::function<void()>& call) {
  std::exception_ptr error;
  auto task = std::make_shared<Task>();
  // The sender waits until the call has ended, so its `error` outlives the call.
  task->Run = [&call, &error](const std::function<void()>&) {
    try {
      call();
    } catch (...) {
      error = std::current_exception();
    }
  };
  Hand(task);
  if (error) std::rethrow_exception(error);
}

std::unique_ptr<NoticeWindow> QueuedGuiThread::CreateNoticeWindow(NoticeHandler handler) {
  return std::make_unique<Window>(*this, std::move(handler));
}

void QueuedGuiThread::Hand(const std::shared_ptr<Task>& task) {
  std::unique_lock lock(mutex_);
  queue_.push_back(task);
  changed_.notify_all();
  changed_.wait(lock, [&task] { return task->Released; });
}

void QueuedGuiThread::Release(Task& task) {
  std::lock_guard lock(mutex_);
  task.Released = true;
  changed_.notify_all();
}

int QueuedGuiThread::ServePending() {
  int served = 0;
  for (;;) {
    std::shared_ptr<Task> task;
    {
      std::lock_guard lock(mutex_);
      if (queue_.empty()) return served;
      task = queue_.front();
      queue_.pop_front();
    }
    const std::function<void()> release = [this, &task] { Release(*task); };
    try {
      task->Run(release);
    } catch (const std::exception& error) {
      display_(error);
    }
    release();
    ++served;
  }
}

void QueuedGuiThread::ServeUntil(const std::function<bool()>& finished) {
  for (;;) {
    ServePending();
    std::unique_lock lock(mutex_);
    if (finished()) return;
    changed_.wait(lock, [this] { return !queue_.empty() || wake_; });
    wake_ = false;
  }
}

void QueuedGuiThread::WakeServing() {
  std::lock_guard lock(mutex_);
  wake_ = true;
  changed_.notify_all();
}

void QueuedGuiThread::HandleException(const std::exception& error) { display_(error); }

QueuedGuiThread& DefaultGuiThread() {
  static QueuedGuiThread gui;
  return gui;
}

bool QueuedGuiThread::WaitForPending(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [this] { return !queue_.empty(); });
}

}  // namespace zorvan
