// zorvan-flash records: the run records of a file as a table, so that an operator can
// tell, weeks later, which device got which firmware and when, without other tools.

#include <iostream>

#include "common/errors.h"
#include "firmware/firmware_source.h"
#include "serial/bcport.h"
#include "tools/flash/commands.h"
#include "tools/flash/exit_codes.h"
#include "tools/flash/progress_surface.h"
#include "tools/flash/run_record.h"
#include "tools/flash/text_table.h"

namespace zorvan::cli {

namespace {

std::string FirmwareOf(const RunRecord& r) {
  if (r.hex_file.empty()) return "carried " + r.firmware_version;
  return r.hex_file + " sha256:" + r.hex_sha256.substr(0, 12);
}

}  // namespace

int RunRecords(const Arguments& args) {
  std::string file, port;
  std::optional<std::time_t> since;
  auto fail = [](const std::string& problem) {
    std::cerr << "zorvan-flash records: " << problem << " (see zorvan-flash --help)\n";
    return kExitUsage;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--since" && has_value) {
      since = ParseLocalTime(args[++i]);
      if (!since) return fail("--since takes a local date or time: 2026-03-13 or \"2026-03-13 14:05\", not '" + args[i] + "'");
    } else if (a == "--port" && has_value) {
      port = args[++i];
    } else if (!a.empty() && a[0] != '-' && file.empty()) {
      file = a;
    } else {
      return fail("unexpected argument '" + a + "'");
    }
  }
  if (file.empty()) return fail("FILE is required");

  std::string text;
  try {
    text = ReadTextFile(file);
  } catch (const Exception& e) {
    std::cerr << ExceptionDisplayText(e.Message()) << "\n";
    return kExitRecordFailed;
  }
  std::vector<size_t> skipped;
  const std::vector<RunRecord> records = ParseRecords(text, &skipped);
  for (size_t line : skipped) {
    std::cerr << "zorvan-flash records: line " << line << " of " << file << " is not a run record; left out\n";
  }
  std::vector<std::vector<std::string>> rows = {
      {"Began", "Host", "Port", "Description", "Firmware", "Result", "Status", "Time"}};
  for (const RunRecord& r : records) {
    if (!port.empty() && r.port != port && PortIdentity(r.port) != PortIdentity(port)) continue;
    if (since) {
      const std::optional<std::time_t> began = ParseIsoTime(r.began);
      if (!began || *began < *since) continue;
    }
    rows.push_back({r.began, r.host, r.port, OneLine(r.description), FirmwareOf(r),
                    r.forced ? r.result + " (forced)" : r.result, std::to_string(r.exit_status),
                    DurationText(r.seconds)});
  }
  if (rows.size() == 1) {
    std::cout << "No run records" << (port.empty() && !since ? "" : " match") << " in " << file << "\n";
    return kExitOk;
  }
  std::cout << FormatTable(rows);
  return kExitOk;
}

}  // namespace zorvan::cli
