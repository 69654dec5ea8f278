#include "tools/sim/loader_model.h"

#include <algorithm>
#include <random>

#include "common/conversions.h"
#include "firmware/hex_lines.h"

namespace zorvan::sim {

namespace {

// A frame longer than this cannot be a command of a loader whose chunks hold at most
// 255 bytes; the characters are dropped until the next "w".
constexpr size_t kLongestFrame = 2 + 2 + 2 * 255 + 2 + 8;

bool IsUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

std::chrono::nanoseconds Milliseconds(double ms) {
  return std::chrono::nanoseconds(static_cast<int64_t>(ms * 1e6));
}

std::vector<uint8_t> HexBytes(const std::string& digits) {
  std::vector<uint8_t> bytes(digits.size() / 2);
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<uint8_t>(HexFieldToInt(digits.substr(2 * i, 2)));
  }
  return bytes;
}

}  // namespace

std::string ReplyFrame(const std::string& code, const std::string& data) {
  return "w" + code + data + HexPairSum(code + data) + ";";
}

LoaderModel::LoaderModel(LoaderConfig config)
    : config_(std::move(config)),
      flash_(static_cast<size_t>(std::max<int64_t>(config_.geometry.Bytes(), 0)), 0xFF),
      description_(config_.description) {
  config_.faults.Seed(config_.seed);
  if (!config_.blank) {
    // An older firmware: anything but erased flash, so that a chunk written without
    // its erase shows up.
    std::mt19937 old_firmware(static_cast<uint32_t>(config_.seed));
    for (uint8_t& b : flash_) b = static_cast<uint8_t>(old_firmware() % 255);
  }
  Reboot();
}

void LoaderModel::Reboot() {
  erase_address_.reset();
  pending_.reset();
  committed_.assign(static_cast<size_t>(config_.geometry.chunks_per_block) * config_.geometry.block_count, false);
}

void LoaderModel::Receive(char c, Time at, std::vector<Transmission>& out) {
  if (hung_up_) return;
  if (c == 'w') {  // every "w" starts a frame afresh, so the wake-up string resynchronises
    in_frame_ = true;
    frame_.clear();
    return;
  }
  if (!in_frame_) return;
  if (c != ';') {
    frame_ += c;
    if (frame_.size() > kLongestFrame) in_frame_ = false;
    return;
  }
  in_frame_ = false;
  AcceptFrame(frame_, at, out);
}

void LoaderModel::AcceptFrame(const std::string& body, Time at, std::vector<Transmission>& out) {
  // A real loader checks the frame and ignores anything damaged.
  if (body.size() < 4 || body.size() % 2 != 0 || !std::all_of(body.begin(), body.end(), IsUpperHex)) return;
  const std::string payload = body.substr(0, body.size() - 2);
  if (HexPairSum(payload) != body.substr(body.size() - 2)) return;
  frames_.push_back("w" + body + ";");
  const uint64_t number = frames_.size();

  if (held_reply_) {
    out.push_back({*held_reply_, at});
    held_reply_.reset();
  }
  double latency_ms = 0;
  std::string reply = Execute(payload, latency_ms);
  if (payload == "01" && !leaves_at_ && config_.leave_after_ms) {
    leaves_at_ = at + Milliseconds(*config_.leave_after_ms);
  }
  const Time done = std::max(at, busy_until_) + Milliseconds(latency_ms);
  busy_until_ = done;

  FaultPlan& plan = config_.faults;
  const bool silent = plan.silent_after && number > *plan.silent_after;
  if (!reply.empty() && !silent) Send(std::move(reply), done, out);
  if (plan.hangup_after && number >= *plan.hangup_after) hung_up_ = true;
}

void LoaderModel::Send(std::string reply, Time due, std::vector<Transmission>& out) {
  FaultPlan& plan = config_.faults;
  const FaultSet faults = plan.For(frames_.size());
  if (faults.Has(FaultKind::Drop)) return;
  if (faults.Has(FaultKind::Corrupt)) reply[plan.Draw(static_cast<uint32_t>(reply.size()))] ^= 0x20;
  if (faults.Has(FaultKind::Cut)) reply.pop_back();
  if (faults.Has(FaultKind::Noise)) {
    std::string noise(1 + plan.Draw(4), '\0');
    for (char& n : noise) n = static_cast<char>(0x80 + plan.Draw(0x80));
    reply = noise + reply;
  }
  if (const Fault* late = faults.Find(FaultKind::Late)) {
    if (late->arg_ms == 0) {
      held_reply_ = std::move(reply);
      return;
    }
    due += Milliseconds(late->arg_ms);
  }
  if (const Fault* split = faults.Find(FaultKind::Split)) {
    const size_t half = reply.size() / 2;
    out.push_back({reply.substr(0, half), due});
    out.push_back({reply.substr(half), due + Milliseconds(split->arg_ms)});
    return;
  }
  out.push_back({std::move(reply), due});
}

std::string LoaderModel::Execute(const std::string& payload, double& latency_ms) {
  const std::string code = payload.substr(0, 2);
  const std::string params = payload.substr(2);
  const Geometry& g = config_.geometry;
  latency_ms = config_.answer_ms;
  if (code == "01" && params.empty()) {
    // A device that was programmed completely starts the new firmware, which reports
    // its own version.
    const bool complete = !committed_.empty() && std::all_of(committed_.begin(), committed_.end(), [](bool b) { return b; });
    if (complete) description_ = config_.programmed_description;
    Reboot();
    if (config_.on_reset) config_.on_reset();
    return ReplyFrame("81", "");
  }
  if (code == "02" && params.empty()) {
    return ReplyFrame("82", config_.loader_version + "0000" + IntToHex(g.chunks_per_block, 2) +
                                IntToHex(g.chunk_size, 2) + IntToHex(g.block_count, 4));
  }
  if (code == "03" && params.empty()) return ReplyFrame("83", description_);
  if (code == "04" && params.size() == 6) {
    latency_ms = config_.erase_ms;
    Erase(HexFieldToInt(params));
    return ReplyFrame("84", "");
  }
  if (code == "05" && params.size() >= 2) {
    latency_ms = config_.write_ms;
    const int index = HexFieldToInt(params.substr(0, 2));
    const std::string data = params.substr(2);
    // The loader's buffer holds one chunk; anything else is not answered.
    if (index < 1 || index > g.chunks_per_block || data.size() > 2 * static_cast<size_t>(g.chunk_size)) return {};
    pending_ = PendingChunk{index, HexBytes(data)};
    return ReplyFrame("85", "");
  }
  if (code == "06" && params.empty()) {
    latency_ms = config_.commit_ms;
    Commit();
    return ReplyFrame("86", "");
  }
  return {};
}

void LoaderModel::Erase(int64_t address) {
  written_ = true;
  const int64_t block_bytes = config_.geometry.BlockBytes();
  erase_address_ = address;
  if (block_bytes == 0 || address >= static_cast<int64_t>(flash_.size())) return;
  const int64_t block = address / block_bytes;
  std::fill_n(flash_.begin() + block * block_bytes, block_bytes, 0xFF);
  const int per_block = config_.geometry.chunks_per_block;
  std::fill_n(committed_.begin() + block * per_block, per_block, false);
}

void LoaderModel::Commit() {
  if (!pending_ || !erase_address_) return;
  const int64_t chunk_size = config_.geometry.chunk_size;
  const int64_t address = *erase_address_ + (pending_->index - 1) * chunk_size;
  // Programming only clears bits, as flash does.
  for (size_t i = 0; i < pending_->bytes.size(); ++i) {
    const int64_t at = address + static_cast<int64_t>(i);
    if (at < static_cast<int64_t>(flash_.size())) flash_[static_cast<size_t>(at)] &= pending_->bytes[i];
  }
  if (chunk_size > 0 && address % chunk_size == 0 &&
      address / chunk_size < static_cast<int64_t>(committed_.size())) {
    committed_[static_cast<size_t>(address / chunk_size)] = true;
  }
}

}  // namespace zorvan::sim
