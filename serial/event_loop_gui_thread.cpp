#include "serial/event_loop_gui_thread.h"

namespace zorvan {

// A notice window whose notices reach the event loop; the queue's own window keeps the
// handler and forgets it when destroyed.
class EventLoopGuiThread::Window final : public NoticeWindow {
 public:
  Window(EventLoopGuiThread& gui, std::unique_ptr<NoticeWindow> queued) : gui_(gui), queued_(std::move(queued)) {}

  void SendNotice(uint32_t code) override {
    gui_.HandOver([this, code] { queued_->SendNotice(code); });
  }

 private:
  EventLoopGuiThread& gui_;
  std::unique_ptr<NoticeWindow> queued_;
};

EventLoopGuiThread::EventLoopGuiThread(ErrorDisplay display) : display_(display), queue_(std::move(display)) {}

void EventLoopGuiThread::Synchronize(const std::function<void()>& call) {
  HandOver([this, &call] { queue_.Synchronize(call); });
}

std::unique_ptr<NoticeWindow> EventLoopGuiThread::CreateNoticeWindow(NoticeHandler handler) {
  return std::make_unique<Window>(*this, queue_.CreateNoticeWindow(std::move(handler)));
}

void EventLoopGuiThread::HandOver(const std::function<void()>& handoff) {
  ++handoffs_under_way_;
  // Asked before the handoff is queued: the queue's wait would block this thread.
  AskEventLoopToServe();
  try {
    handoff();
  } catch (...) {
    --handoffs_under_way_;
    throw;
  }
  --handoffs_under_way_;
}

void EventLoopGuiThread::ServeFromEventLoop() {
  // The handoff that asked may not be queued yet; asking again lets the event loop go on
  // meanwhile instead of waiting for it here.
  if (queue_.ServePending() == 0 && handoffs_under_way_.load() > 0) AskEventLoopToServe();
}

}  // namespace zorvan
