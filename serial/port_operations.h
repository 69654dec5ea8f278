#pragma once
// The few port operations the loader protocol uses, so that its procedures can be driven
// through any port: the real TBComPort, or a stand-in in a test.

#include <chrono>
#include <string>

#include "serial/com_types.h"

namespace zorvan {

class PortOperations {
 public:
  virtual ~PortOperations() = default;
  // Opens unless open; true, or raises EComPort.
  virtual bool Open() = 0;
  // Closes if open; true whenever it returns normally.
  virtual bool Close() = 0;
  // Blocks until the bytes are handed to the line or the write time-outs pass; returns
  // the count sent. Raises EComPort on failure.
  virtual int WriteStr(const std::string& text) = 0;
  // Reads at most `count` bytes under the read time-outs; `text` then holds exactly the
  // bytes read, possibly none. Raises EComPort on failure.
  virtual int ReadStr(std::string& text, int count) = 0;
  // Waits until at least one byte has arrived or `deadline` has passed, then returns at
  // once with what has arrived, at most `count` bytes: a reply is taken as it comes, with
  // no wait for a silence after it. A deadline already passed takes only what is queued.
  // Raises EComPort on failure.
  virtual int ReadArrived(std::string& text, int count, std::chrono::steady_clock::time_point deadline) = 0;
  // Refused (EComPort) while open.
  virtual void SetPort(const std::string& name) = 0;
  virtual void SetBaudRate(TBaudRate rate) = 0;
};

}  // namespace zorvan
