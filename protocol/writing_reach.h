#pragma once
// How far a programming run's writing got, as its result and its run record tell it.

#include <cstdint>

namespace zorvan {

struct WritingReach {
  bool erasing_begun = false;  // the first Erase was sent: the device's firmware is no longer whole
  int64_t blocks_done = 0;
  int64_t blocks = 0;
  int64_t address = 0;  // the address of the first byte not yet written
};

}  // namespace zorvan
