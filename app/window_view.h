#pragma once
// What a window's view does for its form: show, hide and fade the window. A view is a
// toolkit's window made from the window's description (app/form_description.h); it
// forwards the operator's acts to its form and shows what the form tells it, deciding
// nothing itself.
//
// All calls come on the GUI thread. Texts are UTF-8.

namespace zorvan::app {

class WindowView {
 public:
  virtual ~WindowView() = default;

  // Makes the window visible. FadeIn follows at once, so a view may show it fully
  // transparent.
  virtual void ShowWindow() = 0;
  // Hides the window and makes it opaque again for its next appearance. Hiding the main
  // window ends the program, as closing it does.
  virtual void HideWindow() = 0;
  // Raises the window above the program's others and makes it the active window.
  virtual void BringToFront() = 0;

  // Brings the window's opacity from none to full over `milliseconds`, without waiting.
  virtual void FadeIn(int milliseconds) = 0;
  // Brings the window's opacity to none over `milliseconds`, then calls its form's
  // FadeOutEnded(); the window stays shown, transparent, until the form hides it. May
  // call back before returning (a toolkit whose fades block).
  virtual void FadeOut(int milliseconds) = 0;
  // Stops a fade under way and makes the window opaque at once; no FadeOutEnded follows.
  virtual void CancelFade() = 0;
};

}  // namespace zorvan::app
