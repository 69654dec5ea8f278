#pragma once
// The Qt window's GUI thread as the serial port's event thread sees it: the handoffs are
// served in Qt's event loop, asked for by queued calls.

#include <QObject>

#include "serial/event_loop_gui_thread.h"

namespace zorvan::app {

class QtGuiThread : public QObject, public EventLoopGuiThread {
  Q_OBJECT

 public:
  explicit QtGuiThread(ErrorDisplay display) : EventLoopGuiThread(std::move(display)) {}

 protected:
  void AskEventLoopToServe() override;
};

}  // namespace zorvan::app
