#pragma once
// Key preview: a window's key handler sees every key pressed in it before the control
// that has the focus, and never consumes it.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class QKeyEvent;

namespace zorvan::app {

class KeyPreview : public QObject {
  Q_OBJECT

 public:
  using Handler = std::function<void(uint16_t& key, Qt::KeyboardModifiers shift)>;

  // Watches the whole application for key presses meant for `window`.
  KeyPreview(QWidget* window, Handler handler);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The key press last handled, to know it again as it travels to the parents.
  struct Handled {
    const QKeyEvent* event = nullptr;
    quint64 timestamp = 0;
    int key = 0;
    QPointer<QWidget> receiver;
  };
  bool IsPropagationOfLast(const QKeyEvent* event, const QWidget* receiver) const;

  QWidget* window_;
  Handler handler_;
  Handled last_;
};

}  // namespace zorvan::app
