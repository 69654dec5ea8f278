#pragma once
// The help window's view on Windows: the maker's emblem, the link to the maker's site
// and the "ОК" button, in a small dialog-bordered window. Made hidden; its close box
// hides it unless onClose says otherwise.

#include "app/win32/button.h"
#include "app/win32/form_view.h"
#include "app/win32/label.h"
#include "app/win32/picture_box.h"

namespace zorvan::win32 {

struct SkinPictures;

enum class HelpControl { Image_Emblem, sWebLabel1, Button1 };

class HelpWindow : public FormView<HelpControl> {
 public:
  static constexpr int kClientWidth = 154;
  static constexpr int kClientHeight = 193;

  // `owner` is the main window: the help window stays above it.
  HelpWindow(const SkinPictures& pictures, HWND owner);

 private:
  PictureBox Image_Emblem;
  LinkLabel sWebLabel1;
  Button Button1;
};

}  // namespace zorvan::win32
