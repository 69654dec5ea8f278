// zorvan-flash records: the run records of a file as a table, so that an operator can
// tell, weeks later, which device got which firmware and when, without other tools.

#include <iostream>

#include "common/errors.h"
#include "firmware/firmware_source.h"
#include "serial/bcport.h"
#include "cli/commands.h"
#include "cli/device_session.h"
#include "cli/exit_codes.h"
#include "cli/progress_surface.h"
#include "records/run_record.h"
#include "cli/system_texts.h"
#include "cli/text_table.h"
#include "cli/texts.h"

namespace zorvan::cli {

namespace {

std::string FirmwareOf(const RunRecord& r) {
  if (r.hex_file.empty()) return Say(Msg::CarriedVersion, {r.firmware_version});
  return r.hex_file + " sha256:" + r.hex_sha256.substr(0, 12);
}

// The system's message that ended the run, in the screen's language, with what else the
// record says of the device.
std::string ResultOf(const RunRecord& r) {
  std::string result = CommandLineText(r.result);
  if (r.forced) result += " " + Say(Msg::ForcedMark);
  if (r.partly_written) result += " " + Say(Msg::PartlyWrittenMark);
  return result;
}

}  // namespace

int RunRecords(const Arguments& args) {
  std::string file, port;
  std::optional<std::time_t> since;
  auto fail = [](const std::string& problem) { return UsageError("records", problem); };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if ((a == "--since" || a == "--port") && i + 1 == args.size()) return fail(Say(Msg::NeedsValue, {a}));
    if (a == "--since") {
      since = ParseLocalTime(args[++i]);
      if (!since) return fail(Say(Msg::SinceFormat, {args[i]}));
    } else if (a == "--port") {
      port = args[++i];
    } else if (a == "-q" || a == "--quiet") {
      // The table is the result.
    } else if (!a.empty() && a[0] != '-' && file.empty()) {
      file = a;
    } else {
      return fail(Say(Msg::UnexpectedArgument, {a}));
    }
  }
  if (file.empty()) return fail(Say(Msg::FileRequired));

  std::string text;
  try {
    text = ReadTextFile(file);
  } catch (const EFileError& e) {
    std::cerr << Say(Msg::CannotOpenFile, {e.Path(), ErrorReason(e.Error())}) << "\n";
    return kExitRecordsUnreadable;
  }
  std::vector<size_t> skipped;
  const std::vector<RunRecord> records = ParseRecords(text, &skipped);
  // A file that is no record file at all (a HEX file given by mistake) is said in one line.
  if (records.empty()) {
    std::cerr << Say(Msg::NoRecords, {file}) << "\n";
    return kExitNoRecords;
  }
  for (size_t line : skipped) std::cerr << Say(Msg::NotARecord, {std::to_string(line), file}) << "\n";
  std::vector<std::vector<std::string>> rows = {
      {Say(Msg::HeadingBegan), Say(Msg::HeadingHost), Say(Msg::HeadingPort), Say(Msg::HeadingDescription),
       Say(Msg::HeadingFirmware), Say(Msg::HeadingResult), Say(Msg::HeadingStatus), Say(Msg::HeadingTime)}};
  for (const RunRecord& r : records) {
    if (!port.empty() && r.port != port && PortIdentity(r.port) != PortIdentity(port)) continue;
    if (since) {
      const std::optional<std::time_t> began = ParseIsoTime(r.began);
      if (!began || *began < *since) continue;
    }
    rows.push_back({r.began, r.host, r.port, OneLine(r.description), FirmwareOf(r), ResultOf(r),
                    std::to_string(r.exit_status), DurationText(r.seconds)});
  }
  if (rows.size() == 1) {
    std::cout << Say(Msg::NoRecordsMatch, {file}) << "\n";
    return kExitOk;
  }
  std::cout << FormatTable(rows);
  return kExitOk;
}

}  // namespace zorvan::cli
