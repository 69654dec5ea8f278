#include "app/qt/qt_gui_thread.h"

#include <QMetaObject>

namespace zorvan::app {

void QtGuiThread::AskEventLoopToServe() {
  QMetaObject::invokeMethod(this, [this] { ServeFromEventLoop(); }, Qt::QueuedConnection);
}

}  // namespace zorvan::app
