#pragma once
// A top-level window of the kit: made from FormCreateArgs at its designed client size,
// laid out at its monitor's DPI, painted in the skin's background, faded in and out by
// its layered alpha. Its key handler sees every key pressed in it before the focused
// control does (key preview, through PreTranslateMessage in the message loop).

#include <windows.h>

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
  int fade_milliseconds = 70;
  COLORREF background = colour::kWindow;
  // Centred on its screen when first shown; otherwise placed at `position`, in screen pixels.
  bool centred = true;
  POINT position = {};
  // The window it stays above and shares a task-bar button with; none for a main window.
  HWND owner = nullptr;
  // Destroying it ends the message loop.
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
  // The height with the title bar and the borders.
  void SetOuterHeight(int height);
  int OuterHeight() const;
  // Screen pixels.
  void MoveTo(int left, int top);
  void CentreOnScreen();

  // Shows the form, fading it in, and brings it to the front; a form already showing is
  // only brought to the front.
  void Show();
  // Fades the form out and hides it.
  void Hide();
  // Fades the form out and destroys it.
  void Close();
  bool IsVisible() const;
  bool IsActive() const;
  void BringToFront();
  // Paints the form and its controls now, not at the next quiet moment.
  void Repaint();

  // A key pressed anywhere in the form, seen before the focused control; never consumed.
  std::function<void(uint16_t key, KeyModifiers modifiers)> onKeyDown;
  // The close box, Alt+F4 or the system menu's Close. Without a handler the form hides.
  std::function<void()> onClose;
  std::function<void()> onResize;
  std::function<void()> onActivate;

  // Offered every message meant for the form or its controls before it is dispatched;
  // true when it took the message.
  virtual bool PreTranslateMessage(MSG& message);

  // For the controls of this form.
  UINT Dpi() const { return dpi_; }
  int Scale(int design_pixels) const { return MulDiv(design_pixels, static_cast<int>(dpi_), 96); }
  HFONT Font(FontKind kind) const { return fonts_.Get(kind); }
  void SetHint(HWND tool, std::string_view utf8);
  void Adopt(Control* control);
  void Forget(Control* control);

 protected:
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                       DWORD_PTR self);
  void FadeBetween(BYTE from, BYTE to);
  void ApplyDpi(UINT dpi, const RECT* suggested);
  void LoadIcons();
  SIZE OuterSizeFor(int client_width, int client_height) const;
  HWND FirstTabStopInSight() const;

  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  Fonts fonts_;
  std::vector<Control*> controls_;
  HWND tooltips_ = nullptr;
  HICON big_icon_ = nullptr;
  HICON small_icon_ = nullptr;
  HWND focus_before_deactivation_ = nullptr;
  int icon_ = 0;
  int fade_milliseconds_ = 70;
  COLORREF background_ = colour::kWindow;
  bool centre_when_shown_ = false;
  bool ends_program_ = false;
};

}  // namespace zorvan::win32
