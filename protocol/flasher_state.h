#pragma once
// The variables the main window's handlers share: the image, the command and reply
// buffers, the device's geometry and the operator's stop request.

#include <cstdint>
#include <string>

#include "firmware/image_builder.h"

namespace zorvan {

// One per window (or per port on the command line); touched only on the GUI thread.
struct FlasherState : ImageState {
  std::string CommandText;    // the frame of the current Erase, Write or Commit step
  std::string ReplyText;      // the last short reply (up to 20 characters)
  std::string IdentText;      // the raw reply of Identify and Describe
  std::string ReplyCode;      // characters 2-3 of IdentText, "82" expected
  std::string LoaderVersion;  // characters 4-5 of the identification reply, "02" expected
  std::string IdentSpare1;    // characters 6-7, kept and never used
  std::string IdentSpare2;    // characters 8-9, kept and never used
  int32_t ChunksPerBlock = 0;
  int32_t ChunkSize = 0;
  int32_t BlockCount = 0;
  int32_t StopFlag = 0;  // 0: no stop request; the stop command stores -1
};

}  // namespace zorvan
