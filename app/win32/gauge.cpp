#include "app/win32/gauge.h"

#include <algorithm>

#include "app/win32/utf.h"

namespace zorvan::win32 {

namespace {

constexpr int kWhole = 10000;  // the ten-thousandths of a full bar

}  // namespace

void Gauge::Create(const GaugeCreateArgs& args) { CreatePainted(args.parent, args.bounds, 0); }

void Gauge::Show(int filled, std::string caption) {
  filled = std::clamp(filled, 0, kWhole);
  const bool moved = FilledWidth(filled) != FilledWidth(filled_);
  filled_ = filled;
  if (caption != caption_) {
    caption_ = std::move(caption);
    // Also the window's text, where a screen reader or a test tool looks for it.
    SetText(caption_);
  } else if (!moved) {
    return;
  }
  InvalidateRect(hwnd(), nullptr, FALSE);
}

int Gauge::FilledWidth(int filled) const {
  RECT client;
  GetClientRect(hwnd(), &client);
  return static_cast<int>(static_cast<long long>(client.right) * filled / kWhole);
}

void Gauge::Paint(HDC dc, const RECT& area) {
  const int filled = FilledWidth(filled_);
  PaintBar(dc, area, filled, parent().background,
           static_cast<float>(std::min<LONG>(Scale(4), (area.bottom - area.top) / 2)));
  // The caption twice, each colour cut to its own side of the bar's edge, so that it
  // reads well wherever the edge crosses it.
  const std::wstring caption = Widen(caption_);
  const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  HRGN bar = CreateRectRgn(0, 0, filled, area.bottom);
  SelectClipRgn(dc, bar);
  PaintText(dc, caption.c_str(), area, Font(), RGB(255, 255, 255), format);
  HRGN track = CreateRectRgn(filled, 0, area.right, area.bottom);
  SelectClipRgn(dc, track);
  PaintText(dc, caption.c_str(), area, Font(), colour::kText, format);
  SelectClipRgn(dc, nullptr);
  DeleteObject(bar);
  DeleteObject(track);
}

}  // namespace zorvan::win32
