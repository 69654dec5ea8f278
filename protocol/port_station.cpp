#include "protocol/port_station.h"

#include <algorithm>
#include <chrono>
#include <functional>

#include "common/surface_decorator.h"
#include "protocol/device_probe.h"
#include "serial/ecomport.h"

namespace zorvan {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPollChars = 20;

// Thrown out of a look once an end has been asked for.
struct LookCutShort {};

// Lets the surface's messages run, and ends the look when an end has been asked for.
using Attend = std::function<void()>;

// The look's pauses, in slices with the messages let through between them.
class AttentiveSurface : public SurfaceDecorator {
 public:
  AttentiveSurface(OperatorSurface& inner, Attend attend) : SurfaceDecorator(inner), attend_(std::move(attend)) {}

  void ProcessMessages() override { attend_(); }
  void Sleep(unsigned milliseconds) override {
    while (milliseconds > 0) {
      attend_();
      const unsigned slice = std::min(milliseconds, kAttentionSlice);
      SurfaceDecorator::Sleep(slice);
      milliseconds -= slice;
    }
  }

 private:
  Attend attend_;
};

// The look's waits for replies, made of the port's ordinary reads, between which the
// messages are let through: under the loader's time-outs a read of kPollChars ends 1 ms
// after what came, or after kPollChars + 1 ms when nothing came. Cutting the port's own
// wait for an arrival into slices instead asked the port for many reads with short
// time-outs, and under Wine one that the first byte of a reply ended at its very end was
// seen to leave the next read unanswered for good, holding the window.
class AttentivePort : public PortOperations {
 public:
  // `surface`: the look's attentive surface, whose pauses let the messages through.
  AttentivePort(PortOperations& inner, OperatorSurface& surface) : inner_(inner), surface_(surface) {}

  bool Open() override { return inner_.Open(); }
  bool Close() override { return inner_.Close(); }
  int WriteStr(const std::string& text) override {
    written_ = true;
    return inner_.WriteStr(text);
  }
  int ReadStr(std::string& text, int count) override {
    const int read = inner_.ReadStr(text, count);
    surface_.ProcessMessages();
    return read;
  }
  int ReadArrived(std::string& text, int count, Clock::time_point deadline) override {
    // Counted in reads as well as by the clock, so that a port that answers at once (a
    // test's stand-in) ends the wait all the same.
    const Clock::duration wait = deadline - Clock::now();
    for (Clock::duration waited{};; waited += std::chrono::milliseconds(kPollChars + 1)) {
      const int read = inner_.ReadStr(text, std::min(count, kPollChars));
      if (read > 0 || waited >= wait || Clock::now() >= deadline) return read;
      surface_.ProcessMessages();
    }
  }
  void SetPort(const std::string& name) override { inner_.SetPort(name); }
  void SetBaudRate(TBaudRate rate) override { inner_.SetBaudRate(rate); }

  // Whether anything was sent: a device may have been woken.
  bool Written() const { return written_; }

 private:
  PortOperations& inner_;
  OperatorSurface& surface_;
  bool written_ = false;
};

}  // namespace

LookOutcome PortStation::Look() {
  const Attend attend = [this] {
    flasher_.surface.ProcessMessages();
    if (EndRequested()) throw LookCutShort{};
  };
  AttentiveSurface surface(flasher_.surface, attend);
  AttentivePort port(flasher_.port, surface);
  Flasher looking{flasher_.state, surface, port, flasher_.image};
  looking.exchange = flasher_.exchange;
  try {
    const Sighting sighting = LookForDevice(looking);
    if (!sighting.present) return {LookOutcome::Seen::Nothing, {}};
    return {LookOutcome::Seen::Device, sighting.description};
  } catch (const LookCutShort&) {
    return {LookOutcome::Seen::CutShort, {}, port.Written()};
  } catch (const EComPort& error) {
    return {LookOutcome::Seen::PortError, error.Message()};
  }
}

std::optional<std::string> PortStation::LetGo() {
  // Its pause lets messages through too; an end asked for meanwhile has nothing to cut.
  AttentiveSurface surface(flasher_.surface, [this] { flasher_.surface.ProcessMessages(); });
  Flasher going{flasher_.state, surface, flasher_.port, flasher_.image};
  try {
    LetDeviceGo(going);
    return std::nullopt;
  } catch (const EComPort& error) {
    return error.Message();
  }
}

void PortStation::Release() {
  try {
    flasher_.port.Close();
  } catch (const EComPort&) {
    // A port that cannot even be closed is closed again before the next look opens it.
  }
}

}  // namespace zorvan
