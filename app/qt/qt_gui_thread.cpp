#include "app/qt/qt_gui_thread.h"

#include <QMetaObject>

namespace zorvan::app {

// A notice window whose notices reach the event loop; the queue's own window keeps the
// handler and forgets it when destroyed.
class QtGuiThread::Window final : public NoticeWindow {
 public:
  Window(QtGuiThread& gui, std::unique_ptr<NoticeWindow> queued) : gui_(gui), queued_(std::move(queued)) {}

  void SendNotice(uint32_t code) override {
    gui_.HandOver([this, code] { queued_->SendNotice(code); });
  }

 private:
  QtGuiThread& gui_;
  std::unique_ptr<NoticeWindow> queued_;
};

QtGuiThread::QtGuiThread(ErrorDisplay display) : display_(display), queue_(std::move(display)) {}

void QtGuiThread::Synchronize(const std::function<void()>& call) {
  HandOver([this, &call] { queue_.Synchronize(call); });
}

std::unique_ptr<NoticeWindow> QtGuiThread::CreateNoticeWindow(NoticeHandler handler) {
  return std::make_unique<Window>(*this, queue_.CreateNoticeWindow(std::move(handler)));
}

void QtGuiThread::HandOver(const std::function<void()>& handoff) {
  ++handoffs_under_way_;
  // Asked before the handoff is queued: the queue's wait would block this thread.
  QMetaObject::invokeMethod(this, &QtGuiThread::ServeFromEventLoop, Qt::QueuedConnection);
  try {
    handoff();
  } catch (...) {
    --handoffs_under_way_;
    throw;
  }
  --handoffs_under_way_;
}

void QtGuiThread::ServeFromEventLoop() {
  // The handoff that asked may not be queued yet; asking again lets the event loop go on
  // meanwhile instead of waiting for it here.
  if (queue_.ServePending() == 0 && handoffs_under_way_.load() > 0) {
    QMetaObject::invokeMethod(this, &QtGuiThread::ServeFromEventLoop, Qt::QueuedConnection);
  }
}

}  // namespace zorvan::app
