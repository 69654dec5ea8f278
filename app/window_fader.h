#pragma once
// Windows fade in as they appear and out as they go: 50 ms for dialogs, 70 ms for other
// windows.

#include <QObject>
#include <functional>

class QWidget;

namespace zorvan::app {

class WindowFader : public QObject {
  Q_OBJECT

 public:
  explicit WindowFader(QObject* parent = nullptr) : QObject(parent) {}

  static int DurationFor(const QWidget* window);

  // Fades `window` out, then runs `then` (which hides or closes it). A second call while
  // the window is fading out does nothing.
  static void FadeOut(QWidget* window, std::function<void()> then);
  // Stops a fade-out under way and makes the window opaque again, for a window that is
  // shown again before it has gone.
  static void CancelFadeOut(QWidget* window);
  static bool FadingOut(const QWidget* window);

  // Installed on the application: starts the fade-in of every window that appears, and
  // turns the closing of a window other than a QDialog into a fade-out followed by the
  // close.
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace zorvan::app
