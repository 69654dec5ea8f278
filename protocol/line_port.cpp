#include "protocol/line_port.h"

#include <algorithm>
#include <exception>

#include "common/display_text.h"
#include "common/errors.h"
#include "protocol/headless_surface.h"
#include "protocol/loader_port.h"
#include "protocol/port_station.h"
#include "protocol/stop_command.h"
#include "serial/bcport.h"
#include "serial/queued_gui_thread.h"

namespace zorvan {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kWaitSlice = std::chrono::milliseconds(50);

// The port's looks: the write button's identification made quietly, on the port's own
// GUI thread.
class LookingSurface : public HeadlessSurface {
 public:
  void ShowMessage(const std::string&) override {}
};

// A run of the line: messages, description and calibration are kept for its result, the
// gauge while blocks are written becomes the run's percentage, and the operator's stop is
// given as soon as the stop command can act on the writing.
class LineRunSurface : public HeadlessSurface {
 public:
  LineRunSurface(FlasherState& state, LinePortObserver& observer, const std::atomic<bool>& stop)
      : state_(state), observer_(observer), stop_(stop), writing_(state) {}

  void SetGaugeMax(int64_t max) override {
    HeadlessSurface::SetGaugeMax(max);
    TellPercent();
  }
  void SetGaugeProgress(int64_t progress) override {
    HeadlessSurface::SetGaugeProgress(progress);
    writing_.GaugeAt(gauge_.Progress());
    TellPercent();
  }
  void SetChunkBarPosition(int position) override {
    HeadlessSurface::SetChunkBarPosition(position);
    writing_.ChunkBarAt(position);
  }
  void SetStatus(const std::string& text) override {
    HeadlessSurface::SetStatus(text);
    writing_.Writing(text == kWritingStatus);
    TellPercent();
  }
  void SetMemoText(const std::string& text) override {
    HeadlessSurface::SetMemoText(text);
    description_ = text;
  }
  // The attempts' log is not kept; every attempt is logged right after its frame was sent.
  void AddMemoLine(const std::string&) override { writing_.AttemptLogged(); }
  void ShowMessage(const std::string& text) override { shown_.push_back(text); }
  // The stop waits for the writing: the identification moves the gauge too, and a stop
  // given then would be forgotten as the writing begins.
  void ProcessMessages() override {
    HeadlessSurface::ProcessMessages();
    if (stop_ && !stop_given_ && writing_.IsWriting()) stop_given_ = StopCommand(state_, *this);
  }

  const std::vector<std::string>& Shown() const { return shown_; }
  const std::string& Description() const { return description_; }
  WritingReach Reach() const { return writing_.Reach(); }

 private:
  // The gauge's percentage while blocks are written: the run's.
  void TellPercent() {
    if (!writing_.IsWriting()) return;
    const int percent = static_cast<int>(gauge_.Percent());
    if (percent == percent_) return;
    percent_ = percent;
    observer_.RunPercent(percent);
  }

  FlasherState& state_;
  LinePortObserver& observer_;
  const std::atomic<bool>& stop_;
  bool stop_given_ = false;
  WritingTracker writing_;
  int percent_ = -1;
  std::string description_;
  std::vector<std::string> shown_;
};

// The pieces of one port, made and used on the port's thread. The GUI thread outlives the
// port, whose closing it serves.
struct PortPieces {
  explicit PortPieces(const LinePortSettings& settings)
      : flasher(state, looking, port, *settings.image) {
    ApplyLoaderPortSettings(port);
    port.SetGuiThread(gui);
    looking.SetPortChoice(settings.port, settings.baud_rate_index);
    looking.SetGuiThread(gui);
  }

  QueuedGuiThread gui;
  TBComPort port;
  FlasherState state;
  LookingSurface looking;
  Flasher flasher;
};

// The write button's procedure on the port's own pieces, with the operator's version gate.
class WriteButtonRunner final : public LineRunner, private PortPieces {
 public:
  explicit WriteButtonRunner(const LinePortSettings& settings) : PortPieces(settings), settings_(settings) {}

  Flasher& Looking() override { return flasher; }

  LineRun Program(LinePortObserver& observer, const std::atomic<bool>& stop) override {
    LineRunSurface surface(state, observer, stop);
    surface.SetPortChoice(settings_.port, settings_.baud_rate_index);
    surface.SetGuiThread(gui);
    state.StopFlag = 0;
    Flasher run{state, surface, port, *settings_.image};
    LineRun outcome;
    outcome.began = std::chrono::system_clock::now();
    const auto started = Clock::now();
    try {
      const RunEnding ending = ButtonWriteClick(run);
      outcome.ending = ending;
      outcome.result = DeviceResultOf(ending);
      outcome.message = EndingMessage(surface.Shown(), ending == RunEnding::Failed);
    } catch (const Exception& error) {
      outcome.result = DeviceResultOf(error);
      // The error's own first line: a port error's advice to restart the program does not
      // hold here, since the line takes the port afresh by itself.
      outcome.message = EndingMessage({error.what()}, false);
    }
    outcome.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    outcome.description = surface.Description();
    outcome.loader_version = state.LoaderVersion;
    outcome.calibration = surface.Calibration();
    outcome.reach = surface.Reach();
    return outcome;
  }

 private:
  const LinePortSettings& settings_;
};

// The runner, made before the station that looks through it.
struct RunnerHolder {
  std::unique_ptr<LineRunner> runner;
};

class LineStation : private RunnerHolder, public PortStation {
 public:
  LineStation(const LinePortSettings& settings, LinePortObserver& observer, std::atomic<bool>& end,
              const std::atomic<bool>& stop)
      : RunnerHolder{settings.runner ? settings.runner() : std::make_unique<WriteButtonRunner>(settings)},
        PortStation(runner->Looking()), settings_(settings), observer_(observer), end_(end), stop_(stop) {}

  bool PortPresent() override { return zorvan::PortPresent(settings_.port); }

  DeviceRun Program() override {
    const LineRun outcome = runner->Program(observer_, stop_);
    // The operator stopped the run: the port is being stopped, not one device.
    if (outcome.ending == RunEnding::Stopped) end_ = true;
    if (!observer_.DeviceDone(outcome)) end_ = true;
    return {outcome.result, outcome.seconds};
  }

  void Show(CyclePhase phase, const CycleTally& tally, const std::string& detail) override {
    observer_.PhaseShown(phase, tally, detail);
  }

  bool Wait(unsigned milliseconds) override {
    const auto until = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (auto now = Clock::now(); now < until && !end_; now = Clock::now()) {
      std::this_thread::sleep_for(std::min<Clock::duration>(kWaitSlice, until - now));
    }
    return !end_;
  }

  bool EndRequested() override { return end_; }

 private:
  const LinePortSettings& settings_;
  LinePortObserver& observer_;
  std::atomic<bool>& end_;
  const std::atomic<bool>& stop_;
};

class LinePort final : public LinePortControl {
 public:
  LinePort(LinePortSettings settings, LinePortObserver& observer)
      : settings_(std::move(settings)), observer_(observer), thread_([this] { Body(); }) {}
  ~LinePort() override {
    Stop();
    thread_.join();
  }

  void End() override { end_ = true; }
  void Stop() override {
    end_ = true;
    stop_ = true;
  }

 private:
  void Body() {
    CycleTally tally;
    try {
      LineStation station(settings_, observer_, end_, stop_);
      ProductionCycle cycle(station);
      cycle.Run();
      tally = cycle.Tally();
    } catch (const std::exception& error) {
      // Nothing in the cycle raises; should something all the same, the port says why it
      // ended rather than vanish from the line.
      observer_.PhaseShown(CyclePhase::PortError, tally, error.what());
    }
    observer_.PortEnded(tally);
  }

  const LinePortSettings settings_;
  LinePortObserver& observer_;
  std::atomic<bool> end_{false};
  std::atomic<bool> stop_{false};
  std::thread thread_;  // last: it starts once everything it uses is made
};

}  // namespace

std::unique_ptr<LinePortControl> StartLinePort(LinePortSettings settings, LinePortObserver& observer) {
  return std::make_unique<LinePort>(std::move(settings), observer);
}

}  // namespace zorvan
