#include "protocol/loader_port.h"

namespace zorvan {

void ApplyLoaderPortSettings(TBComPort& port) {
  port.SetByteSize(bs8);
  port.SetParity(paNone);
  port.SetStopBits(sb1);
  port.SetInBufSize(2048);
  port.SetOutBufSize(2048);
  TComTimeouts& t = port.Timeouts();
  t.SetReadInterval(1);
  t.SetReadTotalMultiplier(1);
  t.SetReadTotalConstant(1);
  t.SetWriteTotalMultiplier(1);
  t.SetWriteTotalConstant(1);
}

}  // namespace zorvan
