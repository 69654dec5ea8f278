#include "app/qt/key_preview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

namespace zorvan::app {

KeyPreview::KeyPreview(QWidget* window, Handler handler)
    : QObject(window), window_(window), handler_(std::move(handler)) {
  qApp->installEventFilter(this);
}

bool KeyPreview::IsPropagationOfLast(const QKeyEvent* event, const QWidget* receiver) const {
  return last_.event == event && last_.timestamp == event->timestamp() && last_.key == event->key() &&
         last_.receiver && last_.receiver != receiver && receiver->isAncestorOf(last_.receiver);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  auto* receiver = static_cast<QWidget*>(watched);
  if (receiver->window() != window_) return false;
  const auto* key_event = static_cast<QKeyEvent*>(event);
  // A key the focused control leaves unused travels on to its parents as the same event;
  // the window looks at it once, where it first arrives. The focus cannot tell where
  // that was: the handler may move it, or open a box that takes it.
  if (IsPropagationOfLast(key_event, receiver)) return false;
  last_ = {key_event, key_event->timestamp(), key_event->key(), receiver};
  uint16_t key = VirtualKeyCode(key_event->key());
  handler_(key, ShiftStateOf(key_event->modifiers()));
  // Once the event has travelled on, its memory may carry the next one.
  QTimer::singleShot(0, this, [this] { last_ = {}; });
  return false;  // the key is never consumed
}

uint16_t VirtualKeyCode(int qt_key) {
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) return static_cast<uint16_t>(kKeyF1 + (qt_key - Qt::Key_F1));
  if (qt_key == Qt::Key_Delete) return kKeyDelete;
  // Qt reports the letter a key types, upper-cased: with the Ukrainian layout active the
  // key R reports К.
  if (qt_key < 0 || qt_key > 0x10FFFF) return 0;
  return VirtualKeyOfCharacter(static_cast<char32_t>(qt_key));
}

ShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers) {
  ShiftState shift;
  if (modifiers.testFlag(Qt::ShiftModifier)) shift = shift | Modifier::Shift;
  if (modifiers.testFlag(Qt::AltModifier)) shift = shift | Modifier::Alt;
  if (modifiers.testFlag(Qt::ControlModifier)) shift = shift | Modifier::Ctrl;
  return shift;
}

}  // namespace zorvan::app
