#pragma once
// The faults the simulated device puts into its replies: named ones at given commands,
// and random ones at given rates, reproducible from a seed.

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zorvan::sim {

enum class FaultKind {
  Drop,     // the reply is never sent
  Late,     // sent `arg` ms late; with no arg, held back until the next command arrives
  Split,    // sent in two halves, `arg` ms apart (5 by default)
  Corrupt,  // one character changed
  Noise,    // a few stray bytes in front
  Cut,      // the final character missing
};

struct Fault {
  FaultKind kind;
  double arg_ms = 0;  // Late and Split only
};

// What happens to the reply of one command.
struct FaultSet {
  std::vector<Fault> faults;
  bool Has(FaultKind kind) const;
  const Fault* Find(FaultKind kind) const;
};

class FaultPlan {
 public:
  // "KIND[:MS]@N": the fault hits the reply to the N-th accepted command (1-based).
  // Raises std::invalid_argument with a message naming the text on anything else.
  void AddScripted(const std::string& text);
  // "KIND[:MS]=P": the fault hits any reply with probability P (0..1).
  void AddRate(const std::string& text);
  void Seed(uint64_t seed) { rng_.seed(seed); }
  // After this many accepted commands the device answers nothing more / hangs up.
  std::optional<uint64_t> silent_after;
  std::optional<uint64_t> hangup_after;

  // The faults for the reply to command number `command` (1-based).
  FaultSet For(uint64_t command);
  // A number from the plan's generator, for the details of a fault (which character,
  // which stray bytes).
  uint32_t Draw(uint32_t bound) { return static_cast<uint32_t>(rng_() % bound); }

 private:
  struct Scripted {
    Fault fault;
    uint64_t command;
  };
  struct Rate {
    Fault fault;
    double probability;
  };
  std::vector<Scripted> scripted_;
  std::vector<Rate> rates_;
  std::mt19937_64 rng_{1};
};

}  // namespace zorvan::sim
