#pragma once
// The maker's two web addresses: the help window's link shows and opens the first, the
// main window's maker-site button opens the second.

#include <string_view>

namespace zorvan::app {

// Scheme and host name only: the link's caption is the address without its scheme.
inline constexpr char kHelpLinkAddress[] = "https://example.com";
inline constexpr char kMakerSiteAddress[] = "https://example.org";

// The help window's link caption: its address without the scheme.
inline constexpr std::string_view kHelpLinkCaption =
    std::string_view(kHelpLinkAddress).substr(std::string_view(kHelpLinkAddress).find("://") + 3);

}  // namespace zorvan::app
