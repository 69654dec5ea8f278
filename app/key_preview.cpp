#include "app/key_preview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "app/keyboard_commands.h"

namespace zorvan::app {

KeyPreview::KeyPreview(QWidget* window, Handler handler)
    : QObject(window), window_(window), handler_(std::move(handler)) {
  qApp->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget->window() != window_) return false;
  // A key the focused control leaves unused travels on to its parents; the window looks
  // at it once, where it first arrives.
  QWidget* focused = QApplication::focusWidget();
  QWidget* first = focused && focused->window() == window_ ? focused : window_;
  if (widget != first) return false;
  const auto* key_event = static_cast<QKeyEvent*>(event);
  uint16_t key = VirtualKeyCode(key_event->key());
  handler_(key, key_event->modifiers());
  return false;
}

}  // namespace zorvan::app
