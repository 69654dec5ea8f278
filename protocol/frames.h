#pragma once
// The loader's frames: "w" + hex payload + the payload's pair sum + ";". Replies carry
// the command's code with bit 7 set.

#include <string>
#include <string_view>

namespace zorvan {

// The frames that carry no parameter, and the wake-up string, which is not a frame.
inline constexpr std::string_view kResetFrame = "w0101;";
inline constexpr std::string_view kIdentifyFrame = "w0202;";
inline constexpr std::string_view kDescribeFrame = "w0303;";
inline constexpr std::string_view kCommitFrame = "w0606;";
inline constexpr std::string_view kWakeUp = "wwwww";

// The command codes whose replies are checked.
inline constexpr std::string_view kEraseCode = "04";
inline constexpr std::string_view kWriteCode = "05";
inline constexpr std::string_view kCommitCode = "06";

// "w" + payload + HexPairSum(payload) + ";". The checksum is a plain sum that covers the
// command code as well, so a bare command carries its code twice ("01" gives "w0101;").
std::string FrameCommand(std::string_view payload);

// True when `reply` begins with "w" and the two-digit `code` with bit 7 set, and ends
// with ";". Nothing in between is looked at: "w84;" acknowledges an Erase.
bool IsAck(std::string_view reply, std::string_view code);

}  // namespace zorvan
