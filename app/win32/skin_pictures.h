#pragma once
// The skin's pictures, loaded once for the program's windows.

#include "app/win32/picture.h"
#include "app/win32/resource_ids.h"

namespace zorvan::win32 {

struct SkinPictures {
  Picture write_button{ZORVAN_IDP_WRITE_BUTTON, ZORVAN_IDP_WRITE_BUTTON_2X, 26, 26};
  Picture emblem{ZORVAN_IDP_EMBLEM, ZORVAN_IDP_EMBLEM_2X, 120, 89};
  Picture maker_site{ZORVAN_IDP_MAKER_SITE, ZORVAN_IDP_MAKER_SITE_2X, 16, 16};
  Picture about{ZORVAN_IDP_ABOUT, ZORVAN_IDP_ABOUT_2X, 16, 16};
};

}  // namespace zorvan::win32
