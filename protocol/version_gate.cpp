#include "protocol/version_gate.h"

#include "common/conversions.h"
#include "firmware/embedded_firmware.h"

namespace zorvan {

GateVerdict VersionGate(const std::string& description) {
  if (description.size() != BuiltInVersion.size()) return GateVerdict::NotAVersion;
  if (description == BuiltInVersion) return GateVerdict::SameVersion;
  const std::optional<int32_t> version = TryStrToInt(description);
  if (!version) return GateVerdict::NotANumber;
  return *version > StrToInt(BuiltInVersion) ? GateVerdict::NewerVersion : GateVerdict::Older;
}

std::string GateRefusalText(GateVerdict verdict, const std::string& description) {
  switch (verdict) {
    case GateVerdict::Older: return {};
    case GateVerdict::NotAVersion: return "Невідомо що то є!";
    case GateVerdict::NotANumber: return NotAnIntegerText(description);
    case GateVerdict::SameVersion: return "Дана версія вже записана в прилад!";
    case GateVerdict::NewerVersion: return "В прилад вже записана новіша версія!";
  }
  return {};
}

}  // namespace zorvan
