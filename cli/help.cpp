// The help of zorvan-flash: every command and every option on a line of its own first,
// then the exit statuses and what needs more words.

#include <algorithm>

#include "cli/commands.h"
#include "cli/text_table.h"

namespace zorvan::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"check", Msg::UsageCheck, Msg::CommandCheck, Msg::ProseCheck,
       {Msg::OptionDumpImage, Msg::OptionDumpHex, Msg::OptionQuiet, Msg::OptionHelp}, RunCheck},
      {"ports", Msg::UsagePorts, Msg::CommandPorts, Msg::ProsePorts, {Msg::OptionHelp}, RunPorts},
      {"detect", Msg::UsageDetect, Msg::CommandDetect, Msg::ProseDetect,
       {Msg::OptionPort, Msg::OptionBaud, Msg::OptionVerbose, Msg::OptionQuiet, Msg::OptionHelp}, RunDetect},
      {"write", Msg::UsageWrite, Msg::CommandWrite, Msg::ProseWrite,
       {Msg::OptionPort, Msg::OptionBaud, Msg::OptionHex, Msg::OptionRecord, Msg::OptionLoop, Msg::OptionForce,
        Msg::OptionAllowDowngrade, Msg::OptionVerbose, Msg::OptionQuiet, Msg::OptionHelp},
       RunWrite},
      {"reset", Msg::UsageReset, Msg::CommandReset, Msg::ProseReset,
       {Msg::OptionPort, Msg::OptionBaud, Msg::OptionQuiet, Msg::OptionHelp}, RunReset},
      {"records", Msg::UsageRecords, Msg::CommandRecords, Msg::ProseRecords,
       {Msg::OptionSince, Msg::OptionPort, Msg::OptionHelp}, RunRecords},
  };
  return commands;
}

namespace {

// Lines of "name<TAB>what it does", the names padded to one column.
std::string Columns(const std::vector<Msg>& lines) {
  std::vector<std::pair<std::string, std::string>> rows;
  size_t width = 0;
  for (Msg m : lines) {
    const std::string text = Say(m);
    const size_t tab = text.find('\t');
    rows.emplace_back(text.substr(0, tab), text.substr(tab + 1));
    width = std::max(width, TextColumns(rows.back().first));
  }
  std::string out;
  for (const auto& [name, what] : rows) out += "  " + PadTo(name, width) + "  " + what + "\n";
  return out;
}

}  // namespace

std::string HelpText() {
  std::vector<Msg> command_lines;
  for (const Command& c : Commands()) command_lines.push_back(c.line);
  return Say(Msg::HelpUsage) + "\n\n" + Say(Msg::HelpCommands) + "\n" + Columns(command_lines) + "\n" +
         Say(Msg::HelpOptions) + "\n" +
         Columns({Msg::OptionPort, Msg::OptionBaud, Msg::OptionHex, Msg::OptionRecord, Msg::OptionLoop,
                  Msg::OptionForce, Msg::OptionAllowDowngrade, Msg::OptionVerbose, Msg::OptionDumpImage,
                  Msg::OptionDumpHex, Msg::OptionSince, Msg::OptionQuiet, Msg::OptionHelp, Msg::OptionVersion}) +
         "\n" + Say(Msg::HelpExitStatus) + "\n" + Say(Msg::ExitStatuses) + "\n\n" + Say(Msg::HelpNotes) + "\n";
}

std::string CommandHelpText(const Command& command) {
  return Say(Msg::HelpCommandUsage, {Say(command.usage)}) + "\n\n" + Say(Msg::HelpOptions) + "\n" +
         Columns(command.options) + "\n" + Say(command.prose) + "\n\n" + Say(Msg::HelpSeeAlso) + "\n";
}

}  // namespace zorvan::cli
