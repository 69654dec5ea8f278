#include "serial/com_timeouts.h"

#include "serial/bcport.h"

namespace zorvan {

void TComTimeouts::Set(int32_t& field, int32_t value) {
  if (field == value) return;
  field = value;
  if (OwnerPort != nullptr) OwnerPort->ApplyTimeoutSettings();
}

void TComTimeouts::AssignTo(TComTimeouts& dest) const {
  dest.read_interval_ = read_interval_;
  dest.read_total_multiplier_ = read_total_multiplier_;
  dest.read_total_constant_ = read_total_constant_;
  dest.write_total_multiplier_ = write_total_multiplier_;
  dest.write_total_constant_ = write_total_constant_;
}

}  // namespace zorvan
