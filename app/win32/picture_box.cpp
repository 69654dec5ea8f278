#include "app/win32/picture_box.h"

#include "app/win32/picture.h"

namespace zorvan::win32 {

void PictureBox::Create(const PictureBoxCreateArgs& args) {
  picture_ = args.picture;
  CreatePainted(args.parent, args.bounds, 0);
}

void PictureBox::Paint(HDC dc, const RECT& area) {
  FillRect(dc, &area, SolidBrush(parent().background));
  if (picture_) picture_->Paint(dc, {0, 0, Scale(picture_->DesignWidth()), Scale(picture_->DesignHeight())});
}

}  // namespace zorvan::win32
