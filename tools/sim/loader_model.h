#pragma once
// The simulated device's resident loader: it takes the characters the host sends,
// recognises frames, keeps its own flash memory and says what it answers and when.
// It knows nothing of the line; PtyLine carries its characters.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/sim/fault_plan.h"

namespace zorvan::sim {

using Clock = std::chrono::steady_clock;
using Time = Clock::time_point;

struct Geometry {
  int chunks_per_block = 16;
  int chunk_size = 64;
  int block_count = 128;
  int64_t BlockBytes() const { return int64_t{chunks_per_block} * chunk_size; }
  int64_t Bytes() const { return BlockBytes() * block_count; }
};

struct LoaderConfig {
  Geometry geometry;
  std::string loader_version = "02";
  std::string description = "250101";            // what Describe answers until reprogrammed
  std::string programmed_description = "260313";  // what it answers after a complete run and a Reset
  // How long the loader takes before it answers, from the end of the command's frame.
  double erase_ms = 0;
  double write_ms = 0;
  double commit_ms = 0;
  double answer_ms = 0;  // Reset, Identify and Describe
  bool blank = false;    // start erased instead of holding an older firmware
  // How long the device stays on the line after the first Reset it is sent (the flasher
  // is done with it then), before it is taken away; none: it stays.
  std::optional<double> leave_after_ms;
  uint64_t seed = 1;
  FaultPlan faults;
  // Told of every Reset as the loader takes it, on the line's thread.
  std::function<void()> on_reset;
};

// Characters the loader puts on the line, not before `due`.
struct Transmission {
  std::string text;
  Time due;
};

class LoaderModel {
 public:
  explicit LoaderModel(LoaderConfig config);

  // One character has been received completely at `at`. What the loader sends because
  // of it is appended to `out`.
  void Receive(char c, Time at, std::vector<Transmission>& out);

  // Once true the device has hung up: it takes nothing more and the line is to close.
  bool HungUp() const { return hung_up_; }
  // When the device is taken off the line, once that is known (LoaderConfig::leave_after_ms).
  std::optional<Time> LeavesAt() const { return leaves_at_; }
  // Whether anything was erased: the flasher began to program it.
  bool Written() const { return written_; }

  const std::vector<std::string>& Frames() const { return frames_; }  // accepted, in order
  const std::vector<uint8_t>& Flash() const { return flash_; }
  const std::string& Description() const { return description_; }

 private:
  void AcceptFrame(const std::string& body, Time at, std::vector<Transmission>& out);
  // The reply text of a command, empty when the loader answers nothing; sets `latency_ms`.
  std::string Execute(const std::string& payload, double& latency_ms);
  void Erase(int64_t address);
  void Commit();
  void Reboot();
  void Send(std::string reply, Time due, std::vector<Transmission>& out);

  LoaderConfig config_;
  std::vector<uint8_t> flash_;
  std::string description_;
  std::string frame_;          // characters since the last "w"
  bool in_frame_ = false;
  std::vector<std::string> frames_;
  Time busy_until_{};
  std::optional<std::string> held_reply_;  // a late reply that goes out with the next one
  bool hung_up_ = false;
  std::optional<Time> leaves_at_;
  bool written_ = false;

  // Since the last reboot: the last Erase, the last Write, and which chunks were
  // committed after their block's erase.
  std::optional<int64_t> erase_address_;
  struct PendingChunk {
    int index;
    std::vector<uint8_t> bytes;
  };
  std::optional<PendingChunk> pending_;
  std::vector<bool> committed_;
};

// A reply as the loader frames it: "w" + code + data + their pair sum + ";".
std::string ReplyFrame(const std::string& code, const std::string& data);

}  // namespace zorvan::sim
