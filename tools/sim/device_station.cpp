#include "tools/sim/device_station.h"

#include <filesystem>
#include <iostream>
#include <optional>

namespace zorvan::sim {

namespace {

// What the line is while no device is plugged into the adapter: nothing answers.
LoaderConfig NoDevice() {
  LoaderConfig none;
  none.geometry = Geometry{0, 0, 0};
  none.blank = true;
  none.faults.silent_after = 0;
  return none;
}

std::chrono::nanoseconds Milliseconds(double ms) { return std::chrono::nanoseconds(static_cast<int64_t>(ms * 1e6)); }

}  // namespace

DeviceStation::DeviceStation(StationConfig config, std::vector<LoaderConfig> series)
    : config_(std::move(config)), series_(std::move(series)), line_(config_.baud, config_.adapter_latency_ms) {
  configs_.push_back(series_.front());
  devices_.push_back(std::make_unique<LoaderModel>(series_.front()));
  Link();
}

DeviceStation::~DeviceStation() {
  std::error_code ignored;
  if (!config_.link.empty()) std::filesystem::remove(config_.link, ignored);
}

void DeviceStation::Serve() {
  for (;;) {
    const ServeEnd end = line_.Serve(*devices_.back());
    if (end == ServeEnd::Stopped) return;
    Note("device " + std::to_string(devices_.size()) + (end == ServeEnd::HungUp ? " hung up" : " left"));
    if (!Next(end == ServeEnd::Swapped)) return;
  }
}

bool DeviceStation::Next(bool swapped) {
  std::optional<LoaderConfig> next;
  if (devices_.size() < series_.size()) {
    next = series_[devices_.size()];
  } else if (swapped || configs_.back().leave_after_ms) {
    next = configs_.back();  // a fresh device of the same make, with the older firmware
  }
  // A device that hung up with none to follow leaves its port closed for good.
  if (!next) return false;
  if (!Gap(config_.port_leaves || !line_.IsOpen())) return false;
  configs_.push_back(*next);
  devices_.push_back(std::make_unique<LoaderModel>(*next));
  Note("device " + std::to_string(devices_.size()) + " came on " + PortPath());
  return true;
}

bool DeviceStation::Gap(bool port_leaves) {
  const Time until = Clock::now() + Milliseconds(config_.gap_ms);
  if (!port_leaves) {
    LoaderModel nobody(NoDevice());
    return line_.Serve(nobody, until) != ServeEnd::Stopped;
  }
  line_.Close();
  std::error_code ignored;
  if (!config_.link.empty()) std::filesystem::remove(config_.link, ignored);
  if (line_.Away(until) == ServeEnd::Stopped) return false;
  line_.Open();
  Link();
  return true;
}

void DeviceStation::Link() {
  if (config_.link.empty()) return;
  // Replaced in one step, as udev replaces a by-id link: a reader never finds it missing.
  const std::filesystem::path fresh = config_.link + ".new";
  std::filesystem::remove(fresh);
  std::filesystem::create_symlink(PortPath(), fresh);
  std::filesystem::rename(fresh, config_.link);
}

void DeviceStation::Note(const std::string& what) const {
  const std::string line = "zorvan-sim: " + (config_.link.empty() ? PortPath() : config_.link) + ": " + what + "\n";
  std::cerr << line << std::flush;
}

}  // namespace zorvan::sim
