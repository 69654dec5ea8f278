#include "records/run_record.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <nlohmann/json.hpp>

#include "common/local_time.h"

namespace zorvan {

namespace {

using json = nlohmann::ordered_json;  // the fields in the order a reader expects them

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

int64_t SecondsOf(const std::tm& t) {
  return DaysFromCivil(t.tm_year + 1900, static_cast<unsigned>(t.tm_mon + 1), static_cast<unsigned>(t.tm_mday)) *
             86400 +
         t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec;
}

json NullIfEmpty(const std::string& text) { return text.empty() ? json(nullptr) : json(text); }

std::string Text(const json& object, const char* key) {
  const auto found = object.find(key);
  return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

template <typename T>
T Number(const json& object, const char* key, T otherwise) {
  const auto found = object.find(key);
  return found != object.end() && found->is_number() ? found->get<T>() : otherwise;
}

const json& Member(const json& object, const char* key) {
  static const json kNone = json::object();
  const auto found = object.find(key);
  return found != object.end() && found->is_object() ? *found : kNone;
}

}  // namespace

std::string RecordLine(const RunRecord& r) {
  json firmware = {{"version", r.firmware_version}};
  if (r.hex_file.empty()) {
    firmware["source"] = "carried";
  } else {
    firmware["file"] = r.hex_file;
    firmware["sha256"] = r.hex_sha256;
  }
  json adapter = nullptr;
  if (!r.adapter_usb.empty() || !r.adapter_serial.empty()) {
    adapter = {{"usb", NullIfEmpty(r.adapter_usb)}, {"serial", NullIfEmpty(r.adapter_serial)}};
  }
  const json record = {
      {"began", r.began},
      {"seconds", std::round(r.seconds * 10) / 10},
      {"host", r.host},
      {"port", r.port},
      {"adapter", adapter},
      {"baud", r.baud},
      {"loader_version", NullIfEmpty(r.loader_version)},
      {"description", r.description},
      {"firmware", firmware},
      {"forced", r.forced},
      {"result", {{"message", r.result}, {"exit_status", r.exit_status}}},
      {"failed_attempts", r.failed_attempts},
      {"final_pauses", {{"erase", r.erase_pause}, {"write", r.write_pause}, {"commit", r.commit_pause}}},
      {"progress", r.erasing_begun ? json{{"blocks_done", r.blocks_done},
                                         {"blocks", r.blocks},
                                         {"address", r.address},
                                         {"partly_written", r.partly_written}}
                                   : json(nullptr)},
  };
  // A real device may describe itself in its own code page.
  return record.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::optional<RunRecord> ParseRecordLine(const std::string& line) {
  const json record = json::parse(line, nullptr, false);
  if (record.is_discarded() || !record.is_object()) return std::nullopt;
  RunRecord r;
  r.began = Text(record, "began");
  r.seconds = Number(record, "seconds", 0.0);
  r.host = Text(record, "host");
  r.port = Text(record, "port");
  const json& adapter = Member(record, "adapter");
  r.adapter_usb = Text(adapter, "usb");
  r.adapter_serial = Text(adapter, "serial");
  r.baud = Number(record, "baud", 0u);
  r.loader_version = Text(record, "loader_version");
  r.description = Text(record, "description");
  const json& firmware = Member(record, "firmware");
  r.firmware_version = Text(firmware, "version");
  r.hex_file = Text(firmware, "file");
  r.hex_sha256 = Text(firmware, "sha256");
  const auto forced = record.find("forced");
  r.forced = forced != record.end() && forced->is_boolean() && forced->get<bool>();
  const json& result = Member(record, "result");
  r.result = Text(result, "message");
  r.exit_status = Number(result, "exit_status", -1);
  r.failed_attempts = Number(record, "failed_attempts", 0);
  const json& pauses = Member(record, "final_pauses");
  r.erase_pause = Number(pauses, "erase", 0);
  r.write_pause = Number(pauses, "write", 0);
  r.commit_pause = Number(pauses, "commit", 0);
  const auto progress = record.find("progress");
  r.erasing_begun = progress != record.end() && progress->is_object();
  if (r.erasing_begun) {
    r.blocks_done = Number(*progress, "blocks_done", int64_t{0});
    r.blocks = Number(*progress, "blocks", int64_t{0});
    r.address = Number(*progress, "address", int64_t{0});
    const auto partly = progress->find("partly_written");
    r.partly_written = partly != progress->end() && partly->is_boolean() && partly->get<bool>();
  }
  return r;
}

std::vector<RunRecord> ParseRecords(const std::string& text, std::vector<size_t>* skipped) {
  std::vector<RunRecord> records;
  size_t start = 0;
  for (size_t number = 1; start < text.size(); ++number) {
    size_t end = text.find('\n', start);
    const bool last = end == std::string::npos || end + 1 == text.size();
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    start = end + 1;
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    if (std::optional<RunRecord> record = ParseRecordLine(line)) {
      records.push_back(std::move(*record));
    } else if (!last && skipped) {
      skipped->push_back(number);
    }
  }
  return records;
}

std::string IsoLocalTime(std::time_t t) {
  const std::tm local = LocalTime(t);
  const int64_t offset_minutes = (SecondsOf(local) - SecondsOf(UtcTime(t))) / 60;
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                offset_minutes < 0 ? '-' : '+', static_cast<int>(std::abs(offset_minutes) / 60),
                static_cast<int>(std::abs(offset_minutes) % 60));
  return text;
}

namespace {

// "YYYY-MM-DD", then optionally a "T" or a space and "HH:MM" with optional ":SS"; the
// rest of the text is left in `rest`.
bool ParseDateTime(const std::string& text, std::tm& t, std::string& rest) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, used = 0;
  t = std::tm{};
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &used) != 3 || used != 10) return false;
  size_t at = 10;
  if (at < text.size() && (text[at] == 'T' || text[at] == ' ')) {
    used = 0;
    if (std::sscanf(text.c_str() + at + 1, "%2d:%2d%n", &h, &mi, &used) != 2 || used != 5) return false;
    at += 6;
    if (at < text.size() && text[at] == ':') {
      used = 0;
      if (std::sscanf(text.c_str() + at + 1, "%2d%n", &s, &used) != 1 || used != 2) return false;
      at += 3;
    }
  }
  if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 60) return false;
  t.tm_year = y - 1900;
  t.tm_mon = mo - 1;
  t.tm_mday = d;
  t.tm_hour = h;
  t.tm_min = mi;
  t.tm_sec = s;
  rest = text.substr(at);
  return true;
}

}  // namespace

std::optional<std::time_t> ParseIsoTime(const std::string& text) {
  std::tm t;
  std::string rest;
  if (!ParseDateTime(text, t, rest)) return std::nullopt;
  int64_t offset = 0;
  if (rest != "Z") {
    int h = 0, m = 0, used = 0;
    if (rest.size() != 6 || (rest[0] != '+' && rest[0] != '-') ||
        std::sscanf(rest.c_str() + 1, "%2d:%2d%n", &h, &m, &used) != 2 || used != 5) {
      return std::nullopt;
    }
    offset = (rest[0] == '-' ? -1 : 1) * (h * 3600 + m * 60);
  }
  return static_cast<std::time_t>(SecondsOf(t) - offset);
}

std::optional<std::time_t> ParseLocalTime(const std::string& text) {
  std::tm t;
  std::string rest;
  if (!ParseDateTime(text, t, rest) || !rest.empty()) return std::nullopt;
  t.tm_isdst = -1;  // as the regional settings have it on that day
  const std::time_t moment = std::mktime(&t);
  if (moment == static_cast<std::time_t>(-1)) return std::nullopt;
  return moment;
}

void TakePauses(const std::string& calibration, RunRecord& record) {
  const size_t colon = calibration.find(": ");
  if (colon == std::string::npos ||
      std::sscanf(calibration.c_str() + colon + 2, "%d.%d.%d", &record.erase_pause, &record.write_pause,
                  &record.commit_pause) != 3) {
    record.erase_pause = record.write_pause = record.commit_pause = 0;
  }
  record.failed_attempts = record.erase_pause + record.write_pause + record.commit_pause;
}

}  // namespace zorvan
