#pragma once
// What the port's own reads took from the receive queue and its writes gave to the
// transmit queue. A driver that keeps no count of received characters (a Linux
// pseudo-terminal keeps none) shows only how many bytes are waiting; with this tally the
// line-event watch tells bytes that have arrived from bytes a read has taken meanwhile.

#include <atomic>
#include <cstdint>
#include <optional>

namespace zorvan {

class TransferTally {
 public:
  // Bracket every read from the device: while one is under way, the bytes it takes have
  // left the queue but are not counted yet.
  void BeginTake() { take_sequence_.fetch_add(1); }
  void EndTake(uint64_t taken) {
    taken_.fetch_add(taken);
    take_sequence_.fetch_add(1);
  }
  void AddGiven(uint64_t given) { given_.fetch_add(given); }

  struct Reception {
    uint64_t Received;  // every byte received since the tally began
    int32_t Waiting;    // of which still in the receive queue
  };
  // The bytes received so far, given `waiting()`, the count in the receive queue (empty
  // when the device cannot tell). Empty as well while a read is under way or when one
  // ran during the count, when no count would be consistent with the tally.
  template <typename WaitingCount>
  std::optional<Reception> Received(WaitingCount waiting) const {
    const uint64_t sequence = take_sequence_.load();
    if (sequence % 2 != 0) return std::nullopt;
    const uint64_t taken = taken_.load();
    const std::optional<int32_t> queued = waiting();
    if (!queued || take_sequence_.load() != sequence) return std::nullopt;
    return Reception{taken + static_cast<uint64_t>(*queued), *queued};
  }

  // Every byte the port's writes have handed to the device.
  uint64_t Given() const { return given_.load(); }

 private:
  std::atomic<uint64_t> take_sequence_{0};
  std::atomic<uint64_t> taken_{0};
  std::atomic<uint64_t> given_{0};
};

}  // namespace zorvan
