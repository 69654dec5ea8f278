#pragma once
// The port's five read and write time-outs, in milliseconds.

#include <cstdint>

namespace zorvan {

class TBComPort;

// Owned by a TBComPort, which applies every change at once while open. A standalone
// instance (no owner) only holds values, for assigning to a port's Timeouts.
class TComTimeouts {
 public:
  explicit TComTimeouts(TBComPort* owner_port = nullptr) : OwnerPort(owner_port) {}
  TComTimeouts(const TComTimeouts&) = delete;
  TComTimeouts& operator=(const TComTimeouts&) = delete;

  int32_t ReadInterval() const { return read_interval_; }
  int32_t ReadTotalMultiplier() const { return read_total_multiplier_; }
  int32_t ReadTotalConstant() const { return read_total_constant_; }
  int32_t WriteTotalMultiplier() const { return write_total_multiplier_; }
  int32_t WriteTotalConstant() const { return write_total_constant_; }

  // Each stores a value that differs from the current one and has the owner apply it.
  void SetReadInterval(int32_t value) { Set(read_interval_, value); }
  void SetReadTotalMultiplier(int32_t value) { Set(read_total_multiplier_, value); }
  void SetReadTotalConstant(int32_t value) { Set(read_total_constant_, value); }
  void SetWriteTotalMultiplier(int32_t value) { Set(write_total_multiplier_, value); }
  void SetWriteTotalConstant(int32_t value) { Set(write_total_constant_, value); }

  // Copies the five values straight into dest's fields; dest's owner is not told.
  void AssignTo(TComTimeouts& dest) const;

 private:
  void Set(int32_t& field, int32_t value);

  TBComPort* const OwnerPort;
  int32_t read_interval_ = -1;
  int32_t read_total_multiplier_ = 0;
  int32_t read_total_constant_ = 0;
  int32_t write_total_multiplier_ = 100;
  int32_t write_total_constant_ = 1000;
};

}  // namespace zorvan
