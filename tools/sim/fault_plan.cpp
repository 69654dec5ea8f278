#include "tools/sim/fault_plan.h"

#include <stdexcept>

namespace zorvan::sim {

namespace {

struct KindName {
  const char* name;
  FaultKind kind;
};
constexpr KindName kKinds[] = {{"drop", FaultKind::Drop},       {"late", FaultKind::Late},
                               {"split", FaultKind::Split},     {"corrupt", FaultKind::Corrupt},
                               {"noise", FaultKind::Noise},     {"cut", FaultKind::Cut}};

double ParseNumber(const std::string& text, const std::string& whole) {
  size_t used = 0;
  double value = -1;
  try {
    value = std::stod(text, &used);
  } catch (const std::exception&) {
  }
  if (text.empty() || used != text.size() || value < 0) {
    throw std::invalid_argument("bad fault '" + whole + "': '" + text + "' is not a number");
  }
  return value;
}

// "KIND" or "KIND:MS".
Fault ParseFault(const std::string& text, const std::string& whole) {
  const size_t colon = text.find(':');
  const std::string name = text.substr(0, colon);
  for (const KindName& k : kKinds) {
    if (name != k.name) continue;
    Fault fault{k.kind, k.kind == FaultKind::Split ? 5.0 : 0.0};
    if (colon != std::string::npos) {
      if (k.kind != FaultKind::Late && k.kind != FaultKind::Split) {
        throw std::invalid_argument("bad fault '" + whole + "': " + name + " takes no time");
      }
      fault.arg_ms = ParseNumber(text.substr(colon + 1), whole);
    }
    return fault;
  }
  throw std::invalid_argument("bad fault '" + whole +
                              "': the kinds are drop, late, split, corrupt, noise and cut");
}

}  // namespace

bool FaultSet::Has(FaultKind kind) const { return Find(kind) != nullptr; }

const Fault* FaultSet::Find(FaultKind kind) const {
  for (const Fault& f : faults) {
    if (f.kind == kind) return &f;
  }
  return nullptr;
}

void FaultPlan::AddScripted(const std::string& text) {
  const size_t at = text.rfind('@');
  if (at == std::string::npos) throw std::invalid_argument("bad fault '" + text + "': expected KIND[:MS]@N");
  const double n = ParseNumber(text.substr(at + 1), text);
  if (n < 1 || n != static_cast<double>(static_cast<uint64_t>(n))) {
    throw std::invalid_argument("bad fault '" + text + "': the command number counts from 1");
  }
  scripted_.push_back({ParseFault(text.substr(0, at), text), static_cast<uint64_t>(n)});
}

void FaultPlan::AddRate(const std::string& text) {
  const size_t eq = text.rfind('=');
  if (eq == std::string::npos) throw std::invalid_argument("bad fault rate '" + text + "': expected KIND[:MS]=P");
  const double p = ParseNumber(text.substr(eq + 1), text);
  if (p > 1) throw std::invalid_argument("bad fault rate '" + text + "': the probability lies in 0..1");
  rates_.push_back({ParseFault(text.substr(0, eq), text), p});
}

FaultSet FaultPlan::For(uint64_t command) {
  FaultSet set;
  for (const Scripted& s : scripted_) {
    if (s.command == command) set.faults.push_back(s.fault);
  }
  for (const Rate& r : rates_) {
    // Every rate draws for every reply, so one seed gives one sequence of faults.
    const double draw = static_cast<double>(rng_() >> 11) * 0x1.0p-53;
    if (draw < r.probability) set.faults.push_back(r.fault);
  }
  return set;
}

}  // namespace zorvan::sim
