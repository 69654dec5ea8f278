#include "protocol/identification.h"

#include "common/conversions.h"
#include "protocol/exchanges.h"
#include "protocol/frames.h"
#include "protocol/step_exchange.h"

namespace zorvan {

namespace {

constexpr int kIdentReply = 140;
constexpr int kDescribeReply = 1000;

constexpr const char* kReadyStatus = "Мікропрограма готова до запису";
constexpr const char* kOpenHexRequest = "Відкрийте мікропрограму з розширенням - HEX";

constexpr const char* kNotFoundDetect =
    "Не визначино, для усунення причин:\r\n"
    "- прилад повинен бути включеним;\r\n"
    "- ввести пароль;\r\n"
    "- перевірити вибір немеру СОМ;\r\n"
    "- перевірити швидкість (більшість 115200).";
constexpr const char* kNotFoundWrite =
    "Не визначино, для усунення причин:\r\n"
    "- прилад повинен бути включеним;\r\n"
    "- розвернути роз`єм програмування;\r\n"
    "- ввести пароль;\r\n"
    "- перевірити вибір немеру СОМ.";

// The characters of `text` from 1-based `position`, at most `count`, clipped at its end.
std::string Mid(const std::string& text, size_t position, size_t count) {
  if (position > text.size()) return {};
  return text.substr(position - 1, count);
}

bool EndsWithSemicolon(const std::string& text) { return !text.empty() && text.back() == ';'; }

// Sends Identify until a reply ends with ";", at most `attempts` times; the last reply
// stands whatever it holds. The device is given 100 ms to answer.
void IdentifyLoop(Flasher& flasher, int attempts) {
  StepExchange identify(flasher, kIdentifyFrame, kIdentReply);
  for (int attempt = 0; attempt < attempts; ++attempt) {
    identify.Send(100);
    flasher.surface.StepGauge(10);
    identify.Receive(flasher.state.IdentText);
    if (EndsWithSemicolon(flasher.state.IdentText)) {
      identify.Finish();
      return;
    }
  }
}

void TakeIdentificationFields(FlasherState& state) {
  const std::string& reply = state.IdentText;
  state.LoaderVersion = Mid(reply, 4, 2);
  state.IdentSpare1 = Mid(reply, 6, 2);
  state.IdentSpare2 = Mid(reply, 8, 2);
  state.ChunksPerBlock = HexFieldToIntOr(Mid(reply, 10, 2), 0);
  state.ChunkSize = HexFieldToIntOr(Mid(reply, 12, 2), 0);
  state.BlockCount = HexFieldToIntOr(Mid(reply, 14, 4), 0);
}

// What both failures leave behind: the ready label, an empty gauge and empty memos.
void ForgetDevice(Flasher& flasher, bool disable_open_button) {
  flasher.surface.SetStatus(kReadyStatus);
  flasher.surface.SetGaugeProgress(0);
  if (disable_open_button) flasher.surface.SetEnabled(Control::ButtonOpenHex, false);
  flasher.surface.ClearFirmwareText();
  flasher.surface.SetMemoText("");
}

IdentifyOutcome NotFound(Flasher& flasher, IdentifyVariant variant) {
  flasher.surface.MessageBeep(MB_ICONHAND);
  ForgetDevice(flasher, false);
  flasher.port.Close();
  flasher.surface.ShowMessage(variant == IdentifyVariant::DetectButton ? kNotFoundDetect : kNotFoundWrite);
  flasher.surface.SetGaugeProgress(0);
  return IdentifyOutcome::NotFound;
}

IdentifyOutcome UnknownLoaderVersion(Flasher& flasher, IdentifyVariant variant) {
  flasher.surface.MessageBeep(MB_ICONASTERISK);
  // The write button takes the open button away until a device is found again.
  ForgetDevice(flasher, variant == IdentifyVariant::WriteButton);
  flasher.surface.ShowMessage(flasher.state.LoaderVersion +
                              " - невідома версія завантажувача мікроконтролера");
  flasher.surface.SetGaugeProgress(0);
  return IdentifyOutcome::UnknownLoaderVersion;
}

void ReadDescription(Flasher& flasher, IdentifyVariant variant) {
  FlasherState& state = flasher.state;
  flasher.surface.SetMemoText("");
  state.ReplyCode.clear();
  // The device is given a second to compose its description.
  StepExchange describe(flasher, kDescribeFrame, kDescribeReply, ReplyEnd::QuietAfterSemicolon);
  describe.Send(1000);
  flasher.surface.StepGauge(20);
  describe.Receive(state.IdentText);
  state.ReplyCode = Mid(state.IdentText, 2, 2);
  std::string description;
  const bool anything_left = CutDescription(state.IdentText, description);
  flasher.surface.SetGaugeProgress(0);
  if (!anything_left) {
    flasher.surface.SetMemoText(variant == IdentifyVariant::DetectButton
                                    ? "Невідомий прилад (без текстового опису)"
                                    : "Невідомий прилад/версія");
  } else if (!description.empty()) {
    flasher.surface.SetMemoText(DescriptionMemoText(description));
  }
}

}  // namespace

bool CutDescription(std::string& ident_text, std::string& description) {
  ident_text = ident_text.size() > 4 ? ident_text.substr(3, ident_text.size() - 4) : std::string();
  description = ident_text.size() > 2 ? ident_text.substr(0, ident_text.size() - 2) : std::string();
  return !ident_text.empty();
}

std::string DescriptionMemoText(std::string_view description) {
  std::string memo;
  bool line_empty = true;
  bool line_ended = false;
  for (char c : description) {
    if (c == '\n') {
      if (!line_empty) line_ended = true;
      continue;
    }
    if (line_ended) {
      memo += "\r\n";
      line_ended = false;
    }
    memo += c;
    line_empty = false;
  }
  return memo;
}

IdentifyOutcome IdentifyDevice(Flasher& flasher, IdentifyVariant variant, int attempts) {
  FlasherState& state = flasher.state;
  OperatorSurface& surface = flasher.surface;
  if (!ReopenPort(flasher)) return IdentifyOutcome::NotFound;
  surface.SetChunkBarPosition(0);
  surface.SetCalibration("Автокалібровка: 0.0.0");
  surface.SetGaugeMax(100);
  surface.SetGaugeProgress(0);
  if (variant == IdentifyVariant::WriteButton) DrainInput(flasher);
  WakeUpBurst(flasher);
  surface.ProcessMessages();
  IdentifyLoop(flasher, attempts);
  state.ReplyCode = Mid(state.IdentText, 2, 2);
  surface.BringToFront();
  if (state.ReplyCode != "82") return NotFound(flasher, variant);
  TakeIdentificationFields(state);
  if (state.LoaderVersion != "02") return UnknownLoaderVersion(flasher, variant);
  ReadDescription(flasher, variant);
  return IdentifyOutcome::Found;
}

IdentifyOutcome ButtonConectClick(Flasher& flasher) {
  OperatorSurface& surface = flasher.surface;
  surface.MessageBeep(MB_ICONQUESTION);
  const IdentifyOutcome outcome = IdentifyDevice(flasher, IdentifyVariant::DetectButton);
  if (outcome != IdentifyOutcome::Found) return outcome;
  surface.SetEnabled(Control::ButtonOpenHex, true);
  surface.MessageBeep(MB_ICONASTERISK);
  surface.ShowMessage("Визначино:\r\n" + surface.MemoText());
  surface.ShowMessage(std::string(14, ' ') + "Робота приладу призупинена!\r\n" + kOpenHexRequest);
  surface.SetStatus(kOpenHexRequest);
  surface.Focus(Control::ButtonOpenHex);
  return outcome;
}

}  // namespace zorvan
