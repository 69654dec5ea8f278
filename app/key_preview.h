#pragma once
// Key preview: a window's key handler sees every key pressed in it before the control
// that has the focus, and never consumes it.

#include <QObject>
#include <functional>

class QWidget;

namespace zorvan::app {

class KeyPreview : public QObject {
  Q_OBJECT

 public:
  using Handler = std::function<void(uint16_t& key, Qt::KeyboardModifiers shift)>;

  // Watches the whole application for key presses meant for `window`.
  KeyPreview(QWidget* window, Handler handler);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  Handler handler_;
};

}  // namespace zorvan::app
