#pragma once
// Windows fade in as they appear and out as they go. The forms' windows fade when their
// forms say; every other window (a message box, the port-list window) fades on its own:
// 50 ms for dialogs, 70 ms for other windows.

#include <QObject>
#include <functional>

class QWidget;

namespace zorvan::app {

class WindowFader : public QObject {
  Q_OBJECT

 public:
  explicit WindowFader(QObject* parent = nullptr) : QObject(parent) {}

  // The fade's length for a window that is not a form's.
  static int DurationFor(const QWidget* window);

  // Fades `window` in from transparent.
  static void FadeIn(QWidget* window, int milliseconds);
  // Fades `window` out, then runs `then` (which hides or closes it) and makes it opaque
  // again for its next appearance. A second call while the window is fading out does
  // nothing.
  static void FadeOut(QWidget* window, int milliseconds, std::function<void()> then);
  // Stops a fade-out under way and makes the window opaque again, for a window that is
  // shown again before it has gone; `then` is not run.
  static void CancelFadeOut(QWidget* window);
  static bool FadingOut(const QWidget* window);

  // Installed on the application: starts the fade-in of every window other than a form's
  // that appears, and turns the closing of one that is not a QDialog into a fade-out
  // followed by the close.
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace zorvan::app
