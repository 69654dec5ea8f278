#include "protocol/programming_run.h"

#include <cstdint>

#include "common/conversions.h"
#include "common/errors.h"
#include "protocol/exchanges.h"
#include "protocol/frames.h"
#include "protocol/identification.h"
#include "protocol/step_exchange.h"

namespace zorvan {

namespace {

constexpr int kAttemptsPerStep = 400;
// The longest reply an Erase, Write or Commit attempt reads.
constexpr int kShortReply = 20;
// One budget of failed attempts for the whole run, tested after each phase.
constexpr int32_t kFailureBudget = 399;
// The erase address has six hex digits: a block at 0x1000000 or above cannot be named.
constexpr int64_t kAddressableBytes = 0x1000000;

// The counters of one run, all 0 at its start; the three pauses grow by 1 ms with
// every failure of their kind and never shrink during the run.
struct RunCounters {
  int32_t FlashAddress = 0;
  int32_t EraseDelay = 0;
  int32_t WriteDelay = 0;
  int32_t CommitDelay = 0;
  int32_t FailureCount = 0;
};

constexpr const char* kNoImage =
    "Мікропрограму не підготовлено до запису!\r\n"
    "Відкрийте мікропрограму з розширенням - HEX";

// One kind of step: its log word, its pause counter and the code its reply must carry.
struct Phase {
  const char* word;
  int32_t RunCounters::*delay;
  std::string_view code;
  const char* failure_text;
};

constexpr Phase kErase{"Очистив", &RunCounters::EraseDelay, kEraseCode, "Помилка очистки - "};
constexpr Phase kWrite{"Записав", &RunCounters::WriteDelay, kWriteCode, "Помилка запису - "};
constexpr Phase kCommit{"Прошив", &RunCounters::CommitDelay, kCommitCode, "Помилка прошивки - "};

std::string CalibrationText(const RunCounters& c) {
  return "Автокалібровка: " + std::to_string(c.EraseDelay) + "." + std::to_string(c.WriteDelay) + "." +
         std::to_string(c.CommitDelay);
}

int64_t DeviceBytes(const FlasherState& state) {
  return int64_t{state.BlockCount} * state.ChunksPerBlock * state.ChunkSize;
}

std::string MemoryTooLargeText(const FlasherState& state) {
  return "Пам'ять приладу (" + std::to_string(DeviceBytes(state)) +
         " байт) перевищує 16 МБ, які може адресувати завантажувач.\r\n"
         "Запис неможливий!";
}

// The end of what the firmware's records wrote: a device that ends before it would be
// reported as programmed with part of the firmware missing.
int64_t FirmwareEnd(const ImageState& image) {
  return image.WrittenRanges.empty() ? 0 : int64_t{image.WrittenRanges.back().End};
}

std::string FirmwareTooLargeText(const FlasherState& state, const ImageState& image) {
  return "Мікропрограма не вміщується в пам'ять приладу:\r\nприлад має " + std::to_string(DeviceBytes(state)) +
         " байт, мікропрограма займає " + std::to_string(FirmwareEnd(image)) + " байт.\r\nЗапис неможливий!";
}

// The chunk's digits from the image, clipped at the image's end.
std::string ChunkDigits(const std::string& image, int32_t address, int32_t chunk_size) {
  const size_t first = 2 * static_cast<size_t>(address);
  if (first >= image.size() || chunk_size <= 0) return {};
  return image.substr(first, 2 * static_cast<size_t>(chunk_size));
}

class ProgrammingRun {
 public:
  explicit ProgrammingRun(Flasher& flasher) : f_(flasher), state_(flasher.state), surface_(flasher.surface) {}

  RunEnding Run() {
    SetUp();
    for (int32_t block = 0; block < state_.BlockCount; ++block) {
      surface_.ProcessMessages();
      if (state_.StopFlag != 0) return RunEnding::Stopped;
      state_.CommandText = FrameCommand("04" + IntToHex(static_cast<uint32_t>(c_.FlashAddress), 6));
      if (!AttemptLoop(kErase)) return RunEnding::Stopped;
      if (c_.FailureCount > kFailureBudget) return Fail(kErase);
      surface_.SetChunkBarMax(state_.ChunksPerBlock);
      surface_.SetChunkBarPosition(0);
      for (int32_t index = 1; index <= state_.ChunksPerBlock; ++index) {
        surface_.ProcessMessages();
        state_.CommandText = FrameCommand("05" + IntToHex(static_cast<uint32_t>(index), 2) +
                                          ChunkDigits(f_.image.ImageText, c_.FlashAddress, state_.ChunkSize));
        if (!AttemptLoop(kWrite)) return RunEnding::Stopped;
        surface_.SetChunkBarPosition(surface_.ChunkBarPosition() + 1);
        if (c_.FailureCount > kFailureBudget) return Fail(kWrite);
        state_.CommandText = kCommitFrame;
        if (!AttemptLoop(kCommit)) return RunEnding::Stopped;
        if (c_.FailureCount > kFailureBudget) return Fail(kCommit);
        c_.FlashAddress += state_.ChunkSize;
      }
      surface_.StepGauge(1);
    }
    return Complete();
  }

 private:
  void SetUp() {
    surface_.SetEnabled(Control::ButtonOpenHex, true);
    surface_.MessageBeep(MB_ICONASTERISK);
    for (Control c : {Control::cbPort, Control::cbBaudRate, Control::ButtonConect, Control::ButtonWrite}) {
      surface_.SetEnabled(c, false);
    }
    surface_.SetGaugeMax(state_.BlockCount);
    surface_.SetGaugeProgress(0);
    c_ = RunCounters{};
    surface_.SetStatus(kWritingStatus);
    state_.StopFlag = 0;
  }

  // Up to 400 attempts of the current CommandText; false when a stop request was seen
  // after a failed attempt. Whether the run's budget is spent is the caller's test.
  bool AttemptLoop(const Phase& phase) {
    int32_t& delay = c_.*phase.delay;
    StepExchange step(f_, state_.CommandText, kShortReply);
    for (int attempt = 0; attempt < kAttemptsPerStep; ++attempt) {
      surface_.ProcessMessages();
      step.Send(static_cast<unsigned>(delay));
      surface_.AddMemoLine(phase.word + state_.CommandText);
      step.Receive(state_.ReplyText);
      if (IsAck(state_.ReplyText, phase.code)) {
        step.Finish();
        return true;
      }
      ++c_.FailureCount;
      ++delay;
      surface_.SetCalibration(CalibrationText(c_));
      if (state_.StopFlag != 0) return false;
    }
    return true;
  }

  RunEnding Complete() {
    surface_.BringToFront();
    ResetSequence(f_);
    for (Control c : {Control::ButtonConect, Control::cbPort, Control::cbBaudRate}) surface_.SetEnabled(c, true);
    surface_.SetStatus("Мікропрограма : успішно завантажена в " + surface_.TimeOfDay());
    f_.port.Close();
    surface_.ShowMessage(std::string(41, ' ') + "Мікропрограма успішно завантажена в " + surface_.TimeOfDay() +
                         "\r\n"
                         "Після запису необхідно провести процедуру встановлення початкових установок (при "
                         "наявності)\r\n" +
                         std::string(18, ' ') +
                         "Після запису необхідно провести встановлення конфігурації (при наявності)");
    surface_.SetGaugeProgress(0);
    surface_.SetChunkBarPosition(0);
    surface_.Focus(Control::ButtonConect);
    surface_.SetEnabled(Control::ButtonWrite, false);
    return RunEnding::Completed;
  }

  // The port stays open and no Reset is sent: the device is left in its loader.
  RunEnding Fail(const Phase& phase) {
    surface_.BringToFront();
    surface_.MessageBeep(MB_ICONASTERISK);
    for (unsigned hz : {1200u, 800u, 500u}) surface_.Beep(hz, 200);
    for (Control c : {Control::cbPort, Control::cbBaudRate, Control::ButtonConect}) surface_.SetEnabled(c, true);
    surface_.SetStatus("Мікропрограма : " + surface_.LastHexFileName() + " - помилка");
    surface_.ShowMessage(std::string(30, ' ') + "\r\n" + phase.failure_text +
                         IntToHex(static_cast<uint32_t>(c_.FlashAddress), 6));
    surface_.ShowMessage(std::string(47, ' ') +
                         "Увага!\r\n"
                         "При неповному запису можлива некоректна робота приладу!");
    return RunEnding::Failed;
  }

  Flasher& f_;
  FlasherState& state_;
  OperatorSurface& surface_;
  RunCounters c_;
};

// Ends a run before anything is erased: the device is reset and the port closed, as
// the version gate does.
RunEnding ResetAndRefuse(Flasher& flasher, const std::string& message, RunEnding ending) {
  ResetSequence(flasher);
  flasher.port.Close();
  flasher.surface.ShowMessage(message);
  return ending;
}

}  // namespace

RunEnding ButtonWriteClick(Flasher& flasher, const GateOverride& write_anyway) {
  // A half-built or missing image would be written over the device's firmware: refuse
  // before the port is even touched.
  if (!flasher.image.ImageComplete) {
    flasher.surface.MessageBeep(MB_ICONHAND);
    flasher.surface.ShowMessage(kNoImage);
    return RunEnding::Declined;
  }
  switch (IdentifyDevice(flasher, IdentifyVariant::WriteButton)) {
    case IdentifyOutcome::NotFound: return RunEnding::NotFound;
    case IdentifyOutcome::UnknownLoaderVersion: return RunEnding::UnknownLoaderVersion;
    case IdentifyOutcome::Found: break;
  }
  const std::string description = flasher.surface.MemoText();
  const GateVerdict verdict = VersionGate(description);
  if (verdict != GateVerdict::Older) {
    const std::string refusal = GateRefusalText(verdict, description);
    if (!write_anyway || !write_anyway(verdict, refusal)) {
      // Six characters that are no number end the run as the failed conversion does: the
      // port stays open and no reset is sent.
      if (verdict == GateVerdict::NotANumber) throw EConvertError(refusal);
      return ResetAndRefuse(flasher, refusal, RunEnding::Refused);
    }
  }
  if (DeviceBytes(flasher.state) > kAddressableBytes) {
    return ResetAndRefuse(flasher, MemoryTooLargeText(flasher.state), RunEnding::Declined);
  }
  if (FirmwareEnd(flasher.image) > DeviceBytes(flasher.state)) {
    return ResetAndRefuse(flasher, FirmwareTooLargeText(flasher.state, flasher.image), RunEnding::Declined);
  }
  return ProgrammingRun(flasher).Run();
}

}  // namespace zorvan
