#include "app/win32/skin.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace zorvan::win32 {

namespace {

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const wchar_t* face) {
  LOGFONTW wanted = {};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

// The windows were designed in "MS Sans Serif", a bitmap face that does not scale. Its
// scalable twin keeps the captions within their designed bounds at every DPI; where it
// is missing (Wine, a trimmed system), the nearest face of the same narrow build does.
const wchar_t* DesignFace() {
  static const wchar_t* const face = [] {
    for (const wchar_t* candidate : {L"Microsoft Sans Serif", L"Tahoma", L"Arial", L"Liberation Sans"}) {
      if (FaceInstalled(candidate)) return candidate;
    }
    return L"MS Shell Dlg 2";
  }();
  return face;
}

HFONT MakeFont(UINT dpi, int design_height, bool bold, bool underlined) {
  LOGFONTW font = {};
  font.lfHeight = -MulDiv(design_height, static_cast<int>(dpi), 96);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfUnderline = underlined;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfQuality = CLEARTYPE_QUALITY;
  wcsncpy(font.lfFaceName, DesignFace(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

}  // namespace

void Fonts::MakeFor(UINT dpi) {
  Release();
  fonts_[static_cast<int>(FontKind::Normal)] = MakeFont(dpi, 11, false, false);
  fonts_[static_cast<int>(FontKind::Bold)] = MakeFont(dpi, 11, true, false);
  fonts_[static_cast<int>(FontKind::Underlined)] = MakeFont(dpi, 11, false, true);
  fonts_[static_cast<int>(FontKind::Memo15)] = MakeFont(dpi, 15, false, false);
  fonts_[static_cast<int>(FontKind::Memo16)] = MakeFont(dpi, 16, false, false);
  fonts_[static_cast<int>(FontKind::Large)] = MakeFont(dpi, 20, true, false);
}

void Fonts::Release() {
  for (HFONT& font : fonts_) {
    if (font) DeleteObject(font);
    font = nullptr;
  }
}

HBRUSH SolidBrush(COLORREF colour) {
  static std::map<COLORREF, HBRUSH> brushes;
  HBRUSH& brush = brushes[colour];
  if (!brush) brush = CreateSolidBrush(colour);
  return brush;
}

MemoryCanvas::MemoryCanvas(HDC target, const RECT& bounds)
    : target_(target),
      origin_{bounds.left, bounds.top},
      width_(bounds.right - bounds.left),
      height_(bounds.bottom - bounds.top),
      dc_(CreateCompatibleDC(target)),
      bitmap_(CreateCompatibleBitmap(target, width_ > 0 ? width_ : 1, height_ > 0 ? height_ : 1)),
      old_bitmap_(SelectObject(dc_, bitmap_)) {}

MemoryCanvas::~MemoryCanvas() {
  BitBlt(target_, origin_.x, origin_.y, width_, height_, dc_, 0, 0, SRCCOPY);
  SelectObject(dc_, old_bitmap_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

namespace {

// How much of the pixel whose centre is (x, y) lies inside a rounded box that spans
// `left` to `right` and `top` to `bottom` with corners of `radius`, from the distance
// to its edge: 1 well inside, 0 well outside, smooth across the edge.
float Coverage(float x, float y, float left, float top, float right, float bottom, float radius) {
  if (right <= left || bottom <= top) return 0;
  radius = std::min({radius, (right - left) / 2, (bottom - top) / 2});
  const float half_width = (right - left) / 2;
  const float half_height = (bottom - top) / 2;
  const float qx = std::abs(x - (left + half_width)) - (half_width - radius);
  const float qy = std::abs(y - (top + half_height)) - (half_height - radius);
  const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  const float inside = std::min(std::max(qx, qy), 0.0f);
  return std::clamp(0.5f - (outside + inside - radius), 0.0f, 1.0f);
}

BYTE Mix(BYTE below, float below_share, BYTE border, float border_share, BYTE fill, float fill_share) {
  return static_cast<BYTE>(std::lround(below * below_share + border * border_share + fill * fill_share));
}

}  // namespace

// Painted pixel by pixel from the distance to the edges, the same on every system: the
// system's own path drawing smooths edges on some and not on others.
void PaintRoundBox(HDC dc, const RoundBox& box) {
  const int width = box.bounds.right - box.bounds.left;
  const int height = box.bounds.bottom - box.bounds.top;
  if (width <= 0 || height <= 0) return;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return;
  HDC canvas = CreateCompatibleDC(dc);
  const HGDIOBJ old_bitmap = SelectObject(canvas, bitmap);
  // What lies below shows through the corners and the smoothed edges.
  BitBlt(canvas, 0, 0, width, height, dc, box.bounds.left, box.bounds.top, SRCCOPY);
  GdiFlush();

  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  const float b = box.border_width;
  auto* pixels = static_cast<RGBQUAD*>(bits);
  for (int y = 0; y < height; ++y) {
    const float share = height > 1 ? static_cast<float>(y) / static_cast<float>(height - 1) : 0;
    const BYTE fill_r = static_cast<BYTE>(std::lround(GetRValue(box.top) + (GetRValue(box.bottom) - GetRValue(box.top)) * share));
    const BYTE fill_g = static_cast<BYTE>(std::lround(GetGValue(box.top) + (GetGValue(box.bottom) - GetGValue(box.top)) * share));
    const BYTE fill_b = static_cast<BYTE>(std::lround(GetBValue(box.top) + (GetBValue(box.bottom) - GetBValue(box.top)) * share));
    for (int x = 0; x < width; ++x) {
      const float cx = static_cast<float>(x) + 0.5f;
      const float cy = static_cast<float>(y) + 0.5f;
      const float outer = Coverage(cx, cy, 0, 0, w, h, box.radius);
      if (outer <= 0) continue;
      const float inner = b > 0 ? Coverage(cx, cy, b, b, w - b, h - b, std::max(box.radius - b, 0.0f)) : outer;
      const float below = 1 - outer;
      const float border = outer - inner;
      RGBQUAD& pixel = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
      pixel.rgbRed = Mix(pixel.rgbRed, below, GetRValue(box.border), border, fill_r, inner);
      pixel.rgbGreen = Mix(pixel.rgbGreen, below, GetGValue(box.border), border, fill_g, inner);
      pixel.rgbBlue = Mix(pixel.rgbBlue, below, GetBValue(box.border), border, fill_b, inner);
    }
  }
  BitBlt(dc, box.bounds.left, box.bounds.top, width, height, canvas, 0, 0, SRCCOPY);
  SelectObject(canvas, old_bitmap);
  DeleteDC(canvas);
  DeleteObject(bitmap);
}

void PaintBar(HDC dc, const RECT& area, int filled, COLORREF background, float radius) {
  FillRect(dc, &area, SolidBrush(background));
  PaintRoundBox(dc, {area, radius, colour::kTrack, colour::kTrack, colour::kTrack, 0});
  HRGN bar = CreateRectRgn(area.left, area.top, area.left + filled, area.bottom);
  SelectClipRgn(dc, bar);
  PaintRoundBox(dc, {area, radius, colour::kMaroon, colour::kMaroon, colour::kMaroon, 0});
  SelectClipRgn(dc, nullptr);
  DeleteObject(bar);
}

void PaintText(HDC dc, const wchar_t* text, RECT bounds, HFONT font, COLORREF colour, UINT format) {
  const HGDIOBJ old_font = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextW(dc, text, -1, &bounds, format | DT_NOPREFIX);
  SelectObject(dc, old_font);
}

}  // namespace zorvan::win32
