#include "app/form_visibility.h"

namespace zorvan::app {

void FormVisibility::Show() {
  switch (state_) {
    case State::Hidden:
      state_ = State::Shown;
      view_.ShowWindow();
      view_.FadeIn(fade_ms_);
      break;
    case State::FadingOut:
      state_ = State::Shown;
      view_.CancelFade();
      break;
    case State::Shown:
      break;
  }
  view_.BringToFront();
}

void FormVisibility::Close() {
  if (state_ != State::Shown) return;
  // Set first: a view whose fades block reports the end before FadeOut returns.
  state_ = State::FadingOut;
  view_.FadeOut(fade_ms_);
}

void FormVisibility::FadeOutEnded() {
  if (state_ != State::FadingOut) return;
  state_ = State::Hidden;
  view_.HideWindow();
}

}  // namespace zorvan::app
