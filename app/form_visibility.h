#pragma once
// How a form's window appears and goes: it fades in as it is shown and fades out before
// it is hidden, 50 ms for a window with a dialog border and 70 ms for others. Shown again
// while it fades out, it stops fading and stands opaque at once; closed again meanwhile,
// nothing more happens.

#include "app/form_description.h"
#include "app/window_view.h"

namespace zorvan::app {

class FormVisibility {
 public:
  FormVisibility(WindowView& view, const WindowDescription& window)
      : view_(view), fade_ms_(window.dialog_border ? 50 : 70) {}

  // Shown or fading out: the window is on the screen.
  bool Visible() const { return state_ != State::Hidden; }

  // Makes the window visible and brings it to the front; a window already showing only
  // comes to the front.
  void Show();
  // Fades the window out; FadeOutEnded hides it.
  void Close();
  // The view's fade-out has ended.
  void FadeOutEnded();

 private:
  enum class State { Hidden, Shown, FadingOut };

  WindowView& view_;
  int fade_ms_;
  State state_ = State::Hidden;
};

}  // namespace zorvan::app
