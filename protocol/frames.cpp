#include "protocol/frames.h"

#include "common/conversions.h"
#include "firmware/hex_lines.h"

namespace zorvan {

std::string FrameCommand(std::string_view payload) {
  std::string frame;
  frame.reserve(payload.size() + 4);
  frame += 'w';
  frame += payload;
  frame += HexPairSum(payload);
  frame += ';';
  return frame;
}

namespace {

// The code a reply carries: the command's with bit 7 set, "04" answered as "84".
std::string ReplyCodeOf(std::string_view code) {
  return IntToHex(static_cast<uint32_t>(HexFieldToInt(code)) | 0x80u, 2);
}

}  // namespace

bool IsAck(std::string_view reply, std::string_view code) {
  if (reply.size() < 3 || reply.front() != 'w' || reply.back() != ';') return false;
  return reply.substr(1, 2) == ReplyCodeOf(code);
}

}  // namespace zorvan
