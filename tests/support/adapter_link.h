#pragma once
// A port path that follows whichever device is plugged in, as udev's stable names for an
// adapter do (/dev/serial/by-id/...): a symbolic link the test points at one simulated
// device, then at another, under a temporary folder of its own.

#include <unistd.h>

#include <filesystem>
#include <string>

namespace zorvan::testing {

class AdapterLink {
 public:
  AdapterLink()
      : dir_(std::filesystem::temp_directory_path() /
             ("zorvan-adapter-" + std::to_string(getpid()) + "-" + std::to_string(counter_++))) {
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  ~AdapterLink() { std::filesystem::remove_all(dir_); }
  AdapterLink(const AdapterLink&) = delete;
  AdapterLink& operator=(const AdapterLink&) = delete;

  std::string Path() const { return (dir_ / "adapter").string(); }
  // Points the link at `terminal` in one step, as a device node appears.
  void PointAt(const std::string& terminal) {
    const std::filesystem::path fresh = dir_ / "adapter.new";
    std::filesystem::create_symlink(terminal, fresh);
    std::filesystem::rename(fresh, Path());
  }

 private:
  static inline int counter_ = 0;
  std::filesystem::path dir_;
};

}  // namespace zorvan::testing
