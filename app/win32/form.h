#pragma once
// A top-level window of the kit: made from FormCreateArgs at its designed client size,
// laid out at its monitor's DPI, painted in the skin's background, faded in and out by
// its layered alpha. Its key handler sees every key pressed in it before the focused
// control does (key preview, through PreTranslateMessage in the message loop), and Tab
// follows the form's own tab chain where it has one.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/win32/control.h"
#include "app/win32/skin.h"

namespace zorvan::win32 {

enum class FormBorder {
  Single,  // fixed size; system menu and minimise box, no maximise box
  Dialog,  // fixed size; system menu only, no icon
};

struct FormCreateArgs {
  std::string caption;
  int client_width = 0;  // design pixels
  int client_height = 0;
  FormBorder border = FormBorder::Single;
  int icon = 0;  // the program's icon resource, 0 for none
  COLORREF background = colour::kWindow;
  POINT position = {};  // screen pixels
  // The window it stays above and shares a task-bar button with; none for a main window.
  HWND owner = nullptr;
  // Hiding it ends the message loop.
  bool ends_program = false;
};

// The modifier keys held when a key was pressed.
struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

class Form {
 public:
  Form() = default;
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  void Create(const FormCreateArgs& args);
  HWND hwnd() const { return hwnd_; }
  static Form* FromHandle(HWND hwnd);
  // The form as the parent of its direct controls.
  Parent AsParent() { return {this, hwnd_, background_}; }

  void SetCaption(std::string_view utf8);
  std::string Caption() const;
  // Sizes in design pixels, scaled to the form's DPI.
  void SetClientSize(int width, int height);
  SIZE ClientSize() const;
  // Sets the height with the title bar and the borders. Where the system draws a thinner
  // frame than `designed_frame` (title bar and borders together), or none, the client
  // area takes the height the designed frame would leave.
  void SetOuterHeight(int height, int designed_frame);
  // Screen pixels.
  void MoveTo(int left, int top);
  void CentreOnScreen();

  // Shows the form fully transparent, and active.
  void ShowTransparent();
  // Hides the form at once and makes it opaque for its next appearance; a form that ends
  // the program ends it.
  void HideNow();
  // Brings the form's opacity to full, or to none, over `milliseconds`, by a timer: the
  // message loop goes on meanwhile. onFadeOutEnded follows a fade-out.
  void FadeIn(int milliseconds);
  void FadeOut(int milliseconds);
  // Stops a fade under way and makes the form opaque at once.
  void CancelFade();
  bool IsVisible() const;
  void BringToFront();
  // Paints the form and its controls now, not at the next quiet moment.
  void Repaint();

  // The controls Tab and Shift+Tab visit, in order; those disabled or hidden are passed
  // over. Without one, the dialog manager's order (the controls' z-order) holds.
  void SetTabChain(std::vector<const Control*> chain) { tab_chain_ = std::move(chain); }

  // A key pressed anywhere in the form, seen before the focused control; never consumed.
  std::function<void(uint16_t key, KeyModifiers modifiers)> onKeyDown;
  // The close box, Alt+F4 or the system menu's Close. Without a handler the form hides.
  std::function<void()> onClose;
  std::function<void()> onResize;
  std::function<void()> onActivate;
  std::function<void()> onFadeOutEnded;

  // Offered every message meant for the form or its controls before it is dispatched;
  // true when it took the message.
  virtual bool PreTranslateMessage(MSG& message);

  // For the controls of this form.
  int Scale(int design_pixels) const { return MulDiv(design_pixels, static_cast<int>(dpi_), 96); }
  HFONT Font(FontKind kind) const { return fonts_.Get(kind); }
  void SetHint(HWND tool, std::string_view utf8);
  void Adopt(Control* control);
  void Forget(Control* control);

 protected:
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  enum class Fade { None, In, Out };

  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                       DWORD_PTR self);
  void StartFade(Fade fade, int milliseconds);
  void StepFade();
  void SetAlpha(BYTE alpha);
  void MakeOpaque();
  void ApplyDpi(UINT dpi, const RECT* suggested);
  void LoadIcons();
  SIZE OuterSizeFor(int client_width, int client_height) const;
  // Moves the focus along the tab chain; false when the form has none.
  bool MoveFocusAlongChain(bool backwards);
  HWND FirstTabStopInSight() const;
  bool InSight(HWND control) const;

  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  Fonts fonts_;
  std::vector<Control*> controls_;
  std::vector<const Control*> tab_chain_;
  HWND tooltips_ = nullptr;
  HICON big_icon_ = nullptr;
  HICON small_icon_ = nullptr;
  HWND focus_before_deactivation_ = nullptr;
  int icon_ = 0;
  COLORREF background_ = colour::kWindow;
  bool ends_program_ = false;
  Fade fade_ = Fade::None;
  std::chrono::steady_clock::time_point fade_start_;
  std::chrono::milliseconds fade_length_{0};
};

}  // namespace zorvan::win32
