#pragma once
// The version gate: before anything is erased, the device's description is taken as the
// version of the firmware it holds and compared with the carried firmware's. A device
// that holds this version or a newer one, or that describes itself with something that
// is no version, is refused, unless whoever runs the write decides to write it anyway
// (a service engineer re-programming a damaged device).

#include <functional>
#include <string>

namespace zorvan {

enum class GateVerdict {
  Older,         // an older version: it is programmed
  NotAVersion,   // not six characters long (the stand-in for an empty description included)
  NotANumber,    // six characters that do not convert to a number
  SameVersion,   // the carried firmware's own version
  NewerVersion,  // a version above the carried firmware's
};

GateVerdict VersionGate(const std::string& description);

// The message that refuses the device: the gate's own text, or for NotANumber the
// conversion error's. Empty for an older version.
std::string GateRefusalText(GateVerdict verdict, const std::string& description);

// Asked when the gate refuses a device, with its verdict and the refusal's text; true
// writes the device all the same. The loader version and the device's memory are checked
// whatever it answers.
using GateOverride = std::function<bool(GateVerdict verdict, const std::string& refusal)>;

}  // namespace zorvan
