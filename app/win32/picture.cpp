#include "app/win32/picture.h"

#include <objidl.h>
#include <gdiplus.h>
#include <shlwapi.h>

#include <stdexcept>

namespace zorvan::win32 {

namespace {

// Decodes a PNG resource into a bitmap of its own: a bitmap read from a stream needs the
// stream for as long as it lives, a copy does not.
std::unique_ptr<Gdiplus::Bitmap> LoadPng(int resource) {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resource), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!found) throw std::runtime_error("a picture resource is missing");
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  IStream* stream = SHCreateMemStream(bytes, SizeofResource(module, found));
  if (!stream) throw std::runtime_error("out of memory for a picture");
  Gdiplus::Bitmap decoded(stream);
  auto copy = std::make_unique<Gdiplus::Bitmap>(decoded.GetWidth(), decoded.GetHeight(), PixelFormat32bppPARGB);
  {
    Gdiplus::Graphics graphics(copy.get());
    graphics.DrawImage(&decoded, 0, 0, decoded.GetWidth(), decoded.GetHeight());
  }
  stream->Release();
  return copy;
}

}  // namespace

Picture::Picture(int single, int double_size, int design_width, int design_height)
    : width_(design_width), height_(design_height), single_(LoadPng(single)), double_(LoadPng(double_size)) {}

Picture::~Picture() = default;

void Picture::Paint(HDC dc, const RECT& target) const {
  const int width = target.right - target.left;
  const int height = target.bottom - target.top;
  Gdiplus::Graphics graphics(dc);
  // At the designed size the picture is copied pixel for pixel; at any other the larger
  // rendering is scaled down, which keeps edges smooth.
  const bool exact = width == static_cast<int>(single_->GetWidth()) && height == static_cast<int>(single_->GetHeight());
  Gdiplus::Bitmap* source = exact ? single_.get() : double_.get();
  graphics.SetInterpolationMode(exact ? Gdiplus::InterpolationModeNearestNeighbor
                                      : Gdiplus::InterpolationModeHighQualityBicubic);
  graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  graphics.DrawImage(source, Gdiplus::Rect(target.left, target.top, width, height), 0, 0,
                     static_cast<INT>(source->GetWidth()), static_cast<INT>(source->GetHeight()),
                     Gdiplus::UnitPixel);
}

PictureLibrary::PictureLibrary() {
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

PictureLibrary::~PictureLibrary() { Gdiplus::GdiplusShutdown(token_); }

}  // namespace zorvan::win32
