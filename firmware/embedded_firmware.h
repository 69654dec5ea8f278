#pragma once
// The firmware the flasher carries, and the version it reports itself as.

#include <string_view>

namespace zorvan {

// The Intel HEX text of the carried firmware (firmware/embedded_firmware.hex, compiled in).
extern const std::string_view EmbeddedFirmware;

// The version of the carried firmware; a device describing itself with this text or a
// higher number is not programmed.
inline constexpr std::string_view BuiltInVersion = "260313";

}  // namespace zorvan
