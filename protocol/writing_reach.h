#pragma once
// How far a programming run's writing got, as its result and its run record tell it, and
// how a surface follows it from what the run shows the operator.

#include <algorithm>
#include <cstdint>

#include "protocol/flasher_state.h"

namespace zorvan {

struct WritingReach {
  bool erasing_begun = false;  // the first Erase was sent: the device's firmware is no longer whole
  int64_t blocks_done = 0;
  int64_t blocks = 0;
  int64_t address = 0;  // the address of the first byte not yet written
};

// Follows the writing through the surface's calls: while blocks are written the gauge
// counts the finished blocks and the chunk bar the chunks of the block under way, and
// every attempt is logged right after its frame was sent, so the first one logged means
// the device has begun to be erased.
class WritingTracker {
 public:
  // `state` gives the device's geometry once identification has read it.
  explicit WritingTracker(const FlasherState& state) : state_(state) {}

  // The status shows the writing (true) or anything else.
  void Writing(bool writing) { writing_ = writing; }
  bool IsWriting() const { return writing_; }
  // The gauge stands at `blocks` finished blocks: the chunks of the finished block are no
  // longer in progress, although the chunk bar stands full until the next block is erased.
  void GaugeAt(int64_t blocks) {
    if (blocks != blocks_) chunks_in_progress_ = 0;
    blocks_ = blocks;
    Note();
  }
  void ChunkBarAt(int chunks) {
    chunks_in_progress_ = chunks;
    Note();
  }
  void AttemptLogged() {
    if (writing_) erasing_begun_ = true;
  }
  bool ErasingBegun() const { return erasing_begun_; }

  int64_t BytesTotal() const { return BlockBytes() * state_.BlockCount; }
  // The bytes of the blocks and chunks written so far.
  int64_t BytesDone() const {
    return std::min(BytesTotal(), blocks_ * BlockBytes() + int64_t{chunks_in_progress_} * state_.ChunkSize);
  }
  WritingReach Reach() const {
    WritingReach reach;
    reach.erasing_begun = erasing_begun_;
    reach.blocks = state_.BlockCount;
    reach.address = bytes_reached_;
    reach.blocks_done = BlockBytes() > 0 ? bytes_reached_ / BlockBytes() : 0;
    return reach;
  }

 private:
  int64_t BlockBytes() const { return int64_t{state_.ChunkSize} * state_.ChunksPerBlock; }
  void Note() {
    if (writing_) bytes_reached_ = std::max(bytes_reached_, BytesDone());
  }

  const FlasherState& state_;
  bool writing_ = false;         // blocks are being erased and written
  bool erasing_begun_ = false;   // the first Erase of the run has been sent
  int64_t blocks_ = 0;           // as the gauge stands
  int chunks_in_progress_ = 0;   // chunks written in the block under way
  int64_t bytes_reached_ = 0;    // the most written while blocks were written
};

}  // namespace zorvan
