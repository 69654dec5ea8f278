#pragma once
// Key preview: a window's key handler sees every key pressed in it before the control
// that has the focus, and never consumes it.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "app/keyboard_commands.h"

class QKeyEvent;

namespace zorvan::app {

class KeyPreview : public QObject {
  Q_OBJECT

 public:
  using Handler = std::function<void(uint16_t& key, ShiftState shift)>;

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

// The virtual-key code of a Qt key: F1 to F24 and Delete by their codes, letters and
// digits by the key that carries them whatever the layout; other keys give 0.
uint16_t VirtualKeyCode(int qt_key);

// Ctrl, Shift and Alt of Qt's modifiers.
ShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers);

}  // namespace zorvan::app
