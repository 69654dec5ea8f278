#pragma once
// A stand-in serial port for the end-to-end tests: the slave side of the simulator's
// pseudo-terminal, read and written under the flasher's time-outs (a read ends when its
// n + 1 ms have passed, or 1 ms after the line fell silent).

#include <string>

#include "serial/port_operations.h"

namespace zorvan::testing {

class PtyTestPort : public PortOperations {
 public:
  ~PtyTestPort() override { Close(); }
  bool Open() override;
  bool Close() override;
  int WriteStr(const std::string& text) override;
  int ReadStr(std::string& text, int count) override;
  void SetPort(const std::string& name) override { path_ = name; }
  void SetBaudRate(TBaudRate) override {}

  bool IsOpen() const { return fd_ >= 0; }

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace zorvan::testing
