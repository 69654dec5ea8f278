#include "tools/flash/run_recorder.h"

#include "firmware/embedded_firmware.h"
#include "firmware/firmware_source.h"
#include "serial/bcport.h"
#include "serial/ecomport.h"
#include "tools/flash/run_record.h"
#include "tools/flash/sha256.h"

namespace zorvan::cli {

RunRecorder::RunRecorder(const DeviceOptions& options)
    : file_(options.record), host_(HostName()), baud_(BaudRateValues[options.baud_rate_index]),
      hex_path_(options.hex) {
  try {
    for (SerialPortInfo& port : ListSerialPortDetails()) adapters_[PortIdentity(port.Name)] = std::move(port);
  } catch (const EComPort&) {
    // No table of ports: the adapters stay unknown, as a pseudo-terminal's always are.
  }
}

void RunRecorder::NoteFirmware(const std::string& hex_text) {
  if (hex_path_.empty()) return;
  hex_file_ = FileNameOnly(hex_path_);
  hex_sha256_ = Sha256Hex(hex_text);
}

void RunRecorder::Record(const std::string& port, const WriteOutcome& outcome) {
  RunRecord r;
  r.began = IsoLocalTime(std::chrono::system_clock::to_time_t(outcome.began));
  r.seconds = outcome.seconds;
  r.host = host_;
  r.port = port;
  const auto adapter = adapters_.find(PortIdentity(port));
  if (adapter != adapters_.end()) {
    const SerialPortInfo& info = adapter->second;
    if (!info.UsbVendorId.empty()) r.adapter_usb = info.UsbVendorId + ":" + info.UsbProductId;
    r.adapter_serial = info.SerialNumber;
  }
  r.baud = baud_;
  r.loader_version = outcome.loader_version;
  r.description = outcome.description;
  r.firmware_version = std::string(BuiltInVersion);
  r.hex_file = hex_file_;
  r.hex_sha256 = hex_sha256_;
  r.result = outcome.result;
  r.exit_status = outcome.exit_status;
  TakePauses(outcome.calibration, r);
  file_.Append(RecordLine(r));
}

}  // namespace zorvan::cli
