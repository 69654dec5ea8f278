#include "app/win32/gauge.h"

#include <algorithm>

#include "app/win32/utf.h"

namespace zorvan::win32 {

void Gauge::Create(const GaugeCreateArgs& args) {
  suffix_ = args.suffix;
  CreatePainted(args.parent, args.bounds, 0);
}

template <typename Change>
void Gauge::Update(Change change) {
  const int64_t percent = model_.Percent();
  const int filled = FilledWidth();
  change();
  if (percent != model_.Percent() || filled != FilledWidth()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void Gauge::SetMaxValue(int64_t value) {
  Update([&] { model_.SetMaxValue(value); });
}

void Gauge::SetMinValue(int64_t value) {
  Update([&] { model_.SetMinValue(value); });
}

void Gauge::SetProgress(int64_t value) {
  Update([&] { model_.SetProgress(value); });
}

std::string Gauge::Caption() const { return std::to_string(model_.Percent()) + suffix_; }

int Gauge::FilledWidth() const {
  const int64_t range = model_.MaxValue() - model_.MinValue();
  if (range <= 0 || !hwnd()) return 0;
  RECT client;
  GetClientRect(hwnd(), &client);
  const long double share = static_cast<long double>(model_.Progress() - model_.MinValue()) / range;
  return static_cast<int>(share * client.right);
}

void Gauge::Paint(HDC dc, const RECT& area) {
  const int filled = FilledWidth();
  PaintBar(dc, area, filled, parent().background,
           static_cast<float>(std::min<LONG>(Scale(4), (area.bottom - area.top) / 2)));
  // The caption twice, each colour cut to its own side of the bar's edge, so that it
  // reads well wherever the edge crosses it.
  const std::wstring caption = Widen(Caption());
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
