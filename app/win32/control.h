#pragma once
// The base of every control of the kit: a small object that owns one child window. Its
// bounds are kept in design pixels (96 DPI) and laid out at the form's DPI; the parent
// reflects the notifications a control sends (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
// WM_CTLCOLOR*) back to the control, whose subclass of itself sees its own messages.

#include <windows.h>

#include <string>
#include <string_view>

#include "app/win32/skin.h"

namespace zorvan::win32 {

class Form;

// Bounds in design pixels, relative to the parent: left, top, width, height.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Where a control is made: its form, the window it lies in (the form or a panel) and
// that window's background, which the control paints around its rounded corners.
struct Parent {
  Form* form = nullptr;
  HWND hwnd = nullptr;
  COLORREF background = colour::kWindow;
};

class Control {
 public:
  Control() = default;
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND hwnd() const { return hwnd_; }
  static Control* FromHandle(HWND hwnd);

  virtual void SetText(std::string_view utf8);
  virtual std::string Text() const;
  void SetEnabled(bool enabled);
  bool IsEnabled() const;
  bool IsVisible() const;
  void Focus();
  bool HasFocus() const;
  // Shown as a tooltip while the mouse rests on the control; empty for none.
  void SetHint(std::string_view utf8);

  const Rect& Bounds() const { return bounds_; }

  // Notifications the parent reflects; each returns whether it handled the message.
  virtual bool OnCommand(WORD code);
  virtual bool OnNotify(const NMHDR& header, LRESULT& result);
  virtual bool OnDrawItem(const DRAWITEMSTRUCT& item);
  // The brush to paint the control's background with, after setting the colours in `dc`;
  // nullptr leaves the colours to the system.
  virtual HBRUSH OnCtlColor(HDC dc);

  // Lays the control out, and gives it its font, at the form's current DPI.
  virtual void ApplyDpi();

 protected:
  struct CreateParams {
    Parent parent;
    const wchar_t* window_class = nullptr;
    DWORD style = 0;
    DWORD ex_style = 0;
    Rect bounds;
    std::string_view text;
    FontKind font = FontKind::Normal;
    HCURSOR cursor = nullptr;  // the system's choice when none
  };
  void Create(const CreateParams& params);

  // The control's own messages, before its window class sees them.
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam);
  // The mouse came over the control or left it.
  virtual void OnHover(bool) {}
  bool Hovered() const { return hovered_; }

  int Scale(int design_pixels) const;
  HFONT Font() const;
  Form& form() const { return *parent_.form; }
  const Parent& parent() const { return parent_; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                       DWORD_PTR self);

  HWND hwnd_ = nullptr;
  Parent parent_;
  Rect bounds_;
  FontKind font_ = FontKind::Normal;
  HCURSOR cursor_ = nullptr;
  bool hovered_ = false;
};

// Passes a notification a child sent to its window to the child's Control; true when
// the control handled it, with `result` the answer to give.
bool ReflectNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

// The window class of the kit's own windows (forms, panels, the gauge): everything they
// do happens in their Control's subclass.
const wchar_t* OwnWindowClass();

}  // namespace zorvan::win32
