#include "serial/com_records.h"

#include "serial/com_timeouts.h"

namespace zorvan {

bool IsValid(const LineSettings& s) {
  return s.BaudRate <= br256000 && s.ByteSize <= bs8 && s.Parity <= paSpace && s.StopBits <= sb2;
}

DcbRecord MakeDcb(const LineSettings& s) {
  DcbRecord dcb{};
  dcb.DCBlength = sizeof(DcbRecord);
  dcb.BaudRate = BaudRateValues[s.BaudRate];
  dcb.Flags = kDcbBinary | kDcbDtrControlEnable | kDcbRtsControlEnable;
  if (s.Parity != paNone) dcb.Flags |= kDcbParity;
  dcb.ByteSize = static_cast<uint8_t>(s.ByteSize + 5);
  dcb.Parity = s.Parity;
  dcb.StopBits = s.StopBits;
  dcb.XonChar = 0x11;   // DC1
  dcb.XoffChar = 0x13;  // DC3
  return dcb;
}

CommTimeoutsRecord MakeCommTimeouts(const TComTimeouts& t) {
  return {TimeoutValue(t.ReadInterval()), TimeoutValue(t.ReadTotalMultiplier()),
          TimeoutValue(t.ReadTotalConstant()), TimeoutValue(t.WriteTotalMultiplier()),
          TimeoutValue(t.WriteTotalConstant())};
}

}  // namespace zorvan
