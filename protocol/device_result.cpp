#include "protocol/device_result.h"

#include "serial/ecomport.h"

namespace zorvan {

DeviceResult DeviceResultOf(RunEnding ending) {
  switch (ending) {
    case RunEnding::Completed: return DeviceResult::Passed;
    case RunEnding::NotFound: return DeviceResult::Gone;
    case RunEnding::Refused:
    case RunEnding::UnknownLoaderVersion:
    case RunEnding::Declined: return DeviceResult::Refused;
    case RunEnding::Failed:
    case RunEnding::Stopped: return DeviceResult::Failed;
  }
  return DeviceResult::Failed;
}

DeviceResult DeviceResultOf(const Exception& error) {
  if (dynamic_cast<const EComPort*>(&error)) return DeviceResult::PortLost;
  return dynamic_cast<const EConvertError*>(&error) ? DeviceResult::Refused : DeviceResult::Failed;
}

}  // namespace zorvan
