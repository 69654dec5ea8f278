#include "cli/port_errors.h"

#include "common/conversions.h"
#include "serial/bcport.h"
#include "serial/ecomport.h"
#include "cli/system_texts.h"
#include "cli/texts.h"

namespace zorvan::cli {

namespace {

std::string HintFor(const PortDiagnosis& d) {
  switch (d.kind) {
    case PortDiagnosis::Folder: return Say(Msg::PortIsFolder, {d.path});
    case PortDiagnosis::File: return Say(Msg::PortIsFile, {d.path});
    case PortDiagnosis::NotADevice: return Say(Msg::PortIsNoDevice, {d.path});
    case PortDiagnosis::NoPermission:
      return d.group.empty() ? Say(Msg::PortNoPermissionAdmin, {d.path})
                             : Say(Msg::PortNoPermission, {d.path, d.group});
    case PortDiagnosis::Device:
    case PortDiagnosis::Missing: break;
  }
  return {};
}

}  // namespace

std::string PortHint(const std::string& port) { return HintFor(DiagnosePort(port)); }

std::string PortErrorText(const std::string& port, const std::string& system_text) {
  const PortDiagnosis d = DiagnosePort(port);
  // What stands there says more than the settings step that failed on it.
  if (std::string hint = HintFor(d); !hint.empty()) return hint;
  // The first line is what went wrong; the window's second asks to restart it.
  const std::string what = system_text.substr(0, system_text.find('\n'));
  std::string advice;
  if (what == com_text::kNoSuchPort) {
    advice = d.in_current_folder ? Say(Msg::AdviceCurrentFolder, {port}) : Say(Msg::AdviceMissingPort);
  } else if (what == com_text::kPortInUse) {
    advice = Say(Msg::AdvicePortInUse);
  } else {
    advice = Say(Msg::AdviceConnection);
  }
  std::string said = CommandLineText(what);
  if (!said.empty() && said.back() == '.') said.pop_back();
  return said + ": " + d.path + ".\n" + advice;
}

std::string PartlyWrittenText(const WritingProgress& progress) {
  return Say(Msg::PartlyWritten, {std::to_string(progress.blocks_done), std::to_string(progress.blocks),
                                  IntToHex(static_cast<uint64_t>(progress.address), 6)}) +
         "\n" + Say(Msg::WriteAgain);
}

}  // namespace zorvan::cli
