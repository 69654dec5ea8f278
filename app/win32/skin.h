#pragma once
// The program's one skin on Windows: the colours and fonts of the Linux window's style
// sheet (app/skin/skin.qss), and the drawing helpers the owner-drawn controls share.

#include <windows.h>

namespace zorvan::win32 {

namespace colour {
inline constexpr COLORREF kWindow = RGB(0xee, 0xf1, 0xf4);
inline constexpr COLORREF kText = RGB(0x2b, 0x31, 0x3a);
inline constexpr COLORREF kPanel = RGB(0xff, 0xff, 0xff);
inline constexpr COLORREF kPanelBorder = RGB(0xd6, 0xdc, 0xe3);
inline constexpr COLORREF kLabel = RGB(67, 76, 88);  // "Порт:" and the status label
inline constexpr COLORREF kCalibration = RGB(0x5d, 0x68, 0x74);
inline constexpr COLORREF kLink = RGB(0, 64, 128);
inline constexpr COLORREF kTooltip = RGB(0x2b, 0x31, 0x3a);
inline constexpr COLORREF kTooltipText = RGB(0xff, 0xff, 0xff);
inline constexpr COLORREF kTrack = RGB(0xe3, 0xe7, 0xec);  // the gauge's and the bar's empty part
inline constexpr COLORREF kMaroon = RGB(0x80, 0x00, 0x00);  // the gauge's and the bar's filled part
inline constexpr COLORREF kAccent = RGB(0x8e, 0x1b, 0x23);  // hovered and focused frames
}  // namespace colour

// The fonts the windows use; "Normal" is the windows' own, 11 pixels high at 96 DPI.
// "Large" is the production window's state fields, read from a metre away.
enum class FontKind { Normal, Bold, Underlined, Memo15, Memo16, Large };

// The fonts of one form at its current DPI.
class Fonts {
 public:
  Fonts() = default;
  ~Fonts() { Release(); }
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;

  void MakeFor(UINT dpi);
  HFONT Get(FontKind kind) const { return fonts_[static_cast<int>(kind)]; }

 private:
  void Release();
  HFONT fonts_[6] = {};
};

// A solid brush of `colour`, kept for the program's life (the skin has a handful).
HBRUSH SolidBrush(COLORREF colour);

// Draws into a bitmap of `bounds` and copies it to `target` when it ends, so that a
// control never shows half of its painting.
class MemoryCanvas {
 public:
  MemoryCanvas(HDC target, const RECT& bounds);
  ~MemoryCanvas();
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;
  HDC dc() const { return dc_; }
  // The canvas's own coordinates: 0, 0 to the size of `bounds`.
  RECT Area() const { return {0, 0, width_, height_}; }

 private:
  HDC target_;
  POINT origin_;
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_bitmap_;
};

// A rounded box with smooth edges: filled with a vertical gradient from `top` to
// `bottom` (the same colour for a flat fill), framed by `border` of `border_width`
// pixels (0 for none). Drawn over what `dc` holds, within its clipping region.
struct RoundBox {
  RECT bounds;
  float radius;
  COLORREF top;
  COLORREF bottom;
  COLORREF border;
  float border_width;
};
void PaintRoundBox(HDC dc, const RoundBox& box);

// The skin's BAR: a light rounded track and, over its first `filled` pixels, the maroon
// bar of the same shape, on `background`.
void PaintBar(HDC dc, const RECT& area, int filled, COLORREF background, float radius);

// Text in one colour, with the background left as it is.
void PaintText(HDC dc, const wchar_t* text, RECT bounds, HFONT font, COLORREF colour, UINT format);

}  // namespace zorvan::win32
