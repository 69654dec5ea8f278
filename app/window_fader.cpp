#include "app/window_fader.h"

#include <QCloseEvent>
#include <QDialog>
#include <QPropertyAnimation>
#include <QWidget>

namespace zorvan::app {

namespace {

constexpr char kFadeOutName[] = "zorvan-fade-out";
constexpr char kClosingProperty[] = "zorvan-closing";

bool IsFadedWindow(const QObject* object) {
  if (!object->isWidgetType()) return false;
  const auto* widget = static_cast<const QWidget*>(object);
  if (!widget->isWindow()) return false;
  const Qt::WindowType type = widget->windowType();
  return type == Qt::Window || type == Qt::Dialog;  // not menus, pop-up lists or tips
}

QPropertyAnimation* Fade(QWidget* window, qreal from, qreal to) {
  auto* animation = new QPropertyAnimation(window, "windowOpacity", window);
  animation->setDuration(WindowFader::DurationFor(window));
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

void WindowFader::FadeOut(QWidget* window, std::function<void()> then) {
  if (FadingOut(window)) return;
  QPropertyAnimation* animation = Fade(window, window->windowOpacity(), 0.0);
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
  if ((event->type() != QEvent::Show && event->type() != QEvent::Close) || !IsFadedWindow(watched)) {
    return false;
  }
  auto* window = static_cast<QWidget*>(watched);
  if (event->type() == QEvent::Show) {
    // The show event comes before the window reaches the screen, so it never flashes
    // at full strength first.
    Fade(window, 0.0, 1.0)->start(QAbstractAnimation::DeleteWhenStopped);
    return false;
  }
  // Dialogs end through done(), not through a close; those that fade out do it there.
  if (qobject_cast<QDialog*>(window)) return false;
  if (window->property(kClosingProperty).toBool()) {
    window->setProperty(kClosingProperty, false);
    return false;
  }
  event->ignore();
  FadeOut(window, [window] {
    window->setProperty(kClosingProperty, true);
    if (!window->close()) window->setProperty(kClosingProperty, false);
  });
  return true;
}

}  // namespace zorvan::app
