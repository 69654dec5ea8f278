#include "app/qt/window_fader.h"

#include <QCloseEvent>
#include <QDialog>
#include <QPropertyAnimation>
#include <QWidget>

#include "app/window_view.h"

namespace zorvan::app {

namespace {

constexpr char kFadeOutName[] = "zorvan-fade-out";
constexpr char kClosingProperty[] = "zorvan-closing";

// A window that fades on its own: not a form's, whose form says when, and not a menu, a
// pop-up list or a tip.
bool FadesOnItsOwn(const QObject* object) {
  if (!object->isWidgetType()) return false;
  const auto* widget = static_cast<const QWidget*>(object);
  if (!widget->isWindow() || dynamic_cast<const WindowView*>(widget)) return false;
  const Qt::WindowType type = widget->windowType();
  return type == Qt::Window || type == Qt::Dialog;
}

QPropertyAnimation* Fade(QWidget* window, int milliseconds, qreal from, qreal to) {
  auto* animation = new QPropertyAnimation(window, "windowOpacity", window);
  animation->setDuration(milliseconds);
  animation->setStartValue(from);
  animation->setEndValue(to);
  return animation;
}

}  // namespace

int WindowFader::DurationFor(const QWidget* window) {
  return window->windowType() == Qt::Dialog || qobject_cast<const QDialog*>(window) ? 50 : 70;
}

bool WindowFader::FadingOut(const QWidget* window) {
  return window->findChild<QPropertyAnimation*>(kFadeOutName, Qt::FindDirectChildrenOnly) != nullptr;
}

void WindowFader::FadeIn(QWidget* window, int milliseconds) {
  Fade(window, milliseconds, 0.0, 1.0)->start(QAbstractAnimation::DeleteWhenStopped);
}

void WindowFader::FadeOut(QWidget* window, int milliseconds, std::function<void()> then) {
  if (FadingOut(window)) return;
  QPropertyAnimation* animation = Fade(window, milliseconds, window->windowOpacity(), 0.0);
  animation->setObjectName(kFadeOutName);
  QObject::connect(animation, &QPropertyAnimation::finished, window, [window, animation, then] {
    animation->deleteLater();
    animation->setObjectName(QString());
    then();
    window->setWindowOpacity(1.0);  // the next appearance fades in from its own start
  });
  animation->start();
}

void WindowFader::CancelFadeOut(QWidget* window) {
  if (auto* animation = window->findChild<QPropertyAnimation*>(kFadeOutName, Qt::FindDirectChildrenOnly)) {
    animation->stop();
    delete animation;
    window->setWindowOpacity(1.0);
  }
}

bool WindowFader::eventFilter(QObject* watched, QEvent* event) {
  if ((event->type() != QEvent::Show && event->type() != QEvent::Close) || !FadesOnItsOwn(watched)) {
    return false;
  }
  auto* window = static_cast<QWidget*>(watched);
  if (event->type() == QEvent::Show) {
    // The show event comes before the window reaches the screen, so it never flashes
    // at full strength first.
    FadeIn(window, DurationFor(window));
    return false;
  }
  // Dialogs end through done(), not through a close; those that fade out do it there.
  if (qobject_cast<QDialog*>(window)) return false;
  if (window->property(kClosingProperty).toBool()) {
    window->setProperty(kClosingProperty, false);
    return false;
  }
  event->ignore();
  FadeOut(window, DurationFor(window), [window] {
    window->setProperty(kClosingProperty, true);
    if (!window->close()) window->setProperty(kClosingProperty, false);
  });
  return true;
}

}  // namespace zorvan::app
