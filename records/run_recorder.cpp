#include "records/run_recorder.h"

#include "firmware/embedded_firmware.h"
#include "serial/bcport.h"
#include "serial/ecomport.h"
#include "records/run_record.h"

namespace zorvan {

namespace {

// The system's ports by their identity, for the USB adapter behind each; none when the
// system has no table of ports (a pseudo-terminal's adapter is always unknown).
std::map<std::string, SerialPortInfo> AdaptersNow() {
  std::map<std::string, SerialPortInfo> adapters;
  try {
    for (SerialPortInfo& port : ListSerialPortDetails()) adapters[PortIdentity(port.Name)] = std::move(port);
  } catch (const EComPort&) {
  }
  return adapters;
}

}  // namespace

RunRecorder::RunRecorder(const std::filesystem::path& file, unsigned baud)
    : file_(file), host_(HostName()), baud_(baud), adapters_(AdaptersNow()) {}

void RunRecorder::SetFirmware(std::string hex_file, std::string hex_sha256) {
  hex_file_ = std::move(hex_file);
  hex_sha256_ = std::move(hex_sha256);
}

void RunRecorder::Record(const std::string& port, const RecordedRun& outcome) {
  RunRecord r;
  r.began = IsoLocalTime(std::chrono::system_clock::to_time_t(outcome.began));
  r.seconds = outcome.seconds;
  r.host = host_;
  r.port = port;
  // The adapter on the port now: a production loop sees adapters unplugged and others
  // plugged in. One that has gone with its run's end is the one the command began with.
  const std::string identity = PortIdentity(port);
  const std::map<std::string, SerialPortInfo> now = AdaptersNow();
  const auto current = now.find(identity);
  const auto earlier = adapters_.find(identity);
  const SerialPortInfo* adapter = current != now.end()         ? &current->second
                                  : earlier != adapters_.end() ? &earlier->second
                                                               : nullptr;
  if (adapter) {
    const SerialPortInfo& info = *adapter;
    if (!info.UsbVendorId.empty()) r.adapter_usb = info.UsbVendorId + ":" + info.UsbProductId;
    r.adapter_serial = info.SerialNumber;
  }
  r.baud = baud_;
  r.loader_version = outcome.loader_version;
  r.description = outcome.description;
  r.firmware_version = std::string(BuiltInVersion);
  r.hex_file = hex_file_;
  r.hex_sha256 = hex_sha256_;
  r.forced = outcome.forced;
  r.result = outcome.result;
  r.exit_status = outcome.exit_status;
  TakePauses(outcome.calibration, r);
  r.erasing_begun = outcome.reach.erasing_begun;
  r.blocks_done = outcome.reach.blocks_done;
  r.blocks = outcome.reach.blocks;
  r.address = outcome.reach.address;
  r.partly_written = r.erasing_begun && outcome.exit_status != 0;
  file_.Append(RecordLine(r));
}

}  // namespace zorvan
