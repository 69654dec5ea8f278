#include "app/win32/help_window.h"

#include <string_view>

#include "app/links.h"
#include "app/win32/skin_pictures.h"
#include "app/win32/window_texts.h"

namespace zorvan::win32 {

namespace {

// The link's caption: the address without its scheme.
std::string_view HostOf(std::string_view address) {
  const size_t scheme_end = address.find("://");
  return scheme_end == std::string_view::npos ? address : address.substr(scheme_end + 3);
}

}  // namespace

HelpWindow::HelpWindow(const SkinPictures& pictures, HWND owner) {
  Create({.caption = text::kHelpTitle,
          .client_width = kClientWidth,
          .client_height = kClientHeight,
          .border = FormBorder::Dialog,
          .fade_milliseconds = 50,
          .centred = false,
          .position = {616, 197},
          .owner = owner});
  const Parent window = AsParent();
  // The button first: it is the only one Tab reaches, and has the focus on opening.
  Button1.Create({.parent = window, .bounds = {35, 145, 81, 33}, .text = text::kHelpOkCaption});
  Name(HelpControl::Button1, Button1);
  Image_Emblem.Create({.parent = window, .bounds = {16, 16, 121, 89}, .picture = &pictures.emblem});
  Name(HelpControl::Image_Emblem, Image_Emblem);
  sWebLabel1.Create({.parent = window, .bounds = {29, 119, 91, 13}, .text = std::string(HostOf(app::kHelpLinkAddress)),
                     .colour = colour::kLink, .auto_size = false, .centred = true});
  Name(HelpControl::sWebLabel1, sWebLabel1);

  Button1.onClick = [this] { RaiseClick(HelpControl::Button1); };
  sWebLabel1.onClick = [this] { RaiseClick(HelpControl::sWebLabel1); };
}

}  // namespace zorvan::win32
