#pragma once
// The maker's two web addresses: the help window's link shows and opens the first, the
// main window's maker-site button opens the second.

namespace zorvan::app {

// Scheme and host name only: the link's caption is the address without its scheme.
inline constexpr char kHelpLinkAddress[] = "https://example.com";
inline constexpr char kMakerSiteAddress[] = "https://example.org";

}  // namespace zorvan::app
