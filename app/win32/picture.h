#pragma once
// A picture the program carries: a PNG resource rendered at build time from the skin's
// SVG at its designed size and at twice that size, painted sharp at any DPI.

#include <windows.h>

#include <memory>

namespace Gdiplus {
class Bitmap;
}

namespace zorvan::win32 {

class Picture {
 public:
  // `single` and `double_size` name RCDATA resources of this program holding PNGs of
  // design_width x design_height pixels and of twice that.
  Picture(int single, int double_size, int design_width, int design_height);
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  int DesignWidth() const { return width_; }
  int DesignHeight() const { return height_; }
  // Paints the picture into `target`, scaled to fill it, blended with what lies below.
  void Paint(HDC dc, const RECT& target) const;

 private:
  int width_;
  int height_;
  std::unique_ptr<Gdiplus::Bitmap> single_;
  std::unique_ptr<Gdiplus::Bitmap> double_;
};

// Starts the library that decodes and scales the pictures, for the program's life.
class PictureLibrary {
 public:
  PictureLibrary();
  ~PictureLibrary();
  PictureLibrary(const PictureLibrary&) = delete;
  PictureLibrary& operator=(const PictureLibrary&) = delete;

 private:
  ULONG_PTR token_ = 0;
};

}  // namespace zorvan::win32
