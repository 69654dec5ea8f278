// zorvan-sim: simulated Zorvan devices on pseudo-terminals, for trying the flasher
// without hardware. It prints the port path to open for each device, serves the loader
// protocol until it is told to stop (SIGINT, SIGTERM, SIGHUP) or every device has hung
// up, then dumps and checks each device's flash when asked to.

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "common/errors.h"
#include "firmware/image_builder.h"
#include "protocol/headless_surface.h"
#include "firmware/firmware_source.h"
#include "tools/sim/device_station.h"
#include "tools/sim/flash_check.h"
#include "common/version.h"

namespace {

using namespace zorvan;
using namespace zorvan::sim;

constexpr const char* kHelp = R"(Usage: zorvan-sim [OPTIONS]

A simulated Zorvan device on a pseudo-terminal. Prints the path of the port to open on
its first line of output, then serves the loader protocol until SIGINT, SIGTERM or
SIGHUP, or until it hangs up on purpose. Then it dumps and checks its flash if asked.

Line and device:
  --link PATH             also make PATH a symbolic link to the port (removed at exit)
  --baud RATE             line rate the characters are paced at (default 115200; 0: no pacing)
  --adapter-latency MS    replies reach the host through a USB adapter's latency timer:
                          in bursts at most every MS ms, or sooner when 62 bytes wait
  --geometry C,S,B        chunks per block, bytes per chunk, blocks (default 16,64,128)
  --loader-version XX     loader version Identify reports (default 02)
  --description TEXT      what Describe answers (default 250101); \n, \r and \\ are escapes
  --programmed TEXT       what Describe answers after a complete run and a Reset (default 260313)
  --blank                 start with erased flash instead of an older firmware
Latencies, in milliseconds from the end of a command's frame (default 0):
  --erase-ms MS  --write-ms MS  --commit-ms MS  --answer-ms MS (Reset, Identify, Describe)
  --realistic             erase 20, write 1, commit 3, answer 1
Faults, reproducible from --seed N (default 1):
  --fault KIND[:MS]@N     spoil the reply to the N-th accepted command (repeatable)
  --fault-rate KIND[:MS]=P  spoil any reply with probability P (repeatable)
        KIND: drop, late[:MS] (no MS: held back until the next command), split[:MS],
              corrupt, noise, cut (final character missing)
  --silent-after N        answer nothing after N accepted commands
  --hangup-after N        hang up the line after answering N accepted commands
Devices that come and go, as on a production line (each change is noted on the
standard error):
  SIGUSR1                 the device on each port is taken away now; after the gap a
                          fresh one comes (the next of --in-turn, else one like it, with
                          the older firmware and erased nothing)
  --leave-after MS        the device is taken away MS ms after the first Reset it is sent
                          (the flasher is done with it); a fresh one like it follows, and so
                          on, for ever: a device that comes and goes
  --gap MS                the port stays empty this long between two devices (default 4000;
                          0: the next comes at once); without --port-leaves the port itself
                          stays, as on a fixture whose adapter stays plugged in (pogo pins,
                          a clamp), and the next device comes on the same pseudo-terminal
  --port-leaves           the port goes with each device, as an adapter unplugged with it,
                          and a new one comes with the next, under the same --link; a device
                          that hangs up takes its port with it too, and the next of
                          --in-turn follows on a new one
  --in-turn               the --count devices take one port in turn instead of a port each:
                          device 2 comes once device 1 has left, and so on
At the end:
  --dump PATH             write the flash, byte for byte, to PATH
  --verify HEX            compare the flash with the image of HEX ("-": the carried firmware);
                          exit status 1 on any difference
  --log                   then print every accepted frame on the standard error
While serving:
  --print-resets          print "reset" (with several devices, "reset K") on the standard
                          output the moment a Reset arrives, for a test to time what follows

Several devices in one process:
  --count N               serve N devices, each on a pseudo-terminal of its own, with its
                          own flash; their paths are printed one per line, in order
  --device K              the options after it, up to the next --device, are device K's
                          alone (1..N); those before the first --device are every device's.
                          --link and --dump name one device's files: give them here
                          when N > 1 (with --in-turn --link names the one port). With
                          --verify, each device is compared on its own: every device that
                          came, except one that came after another and was never written.

Other:
  --help                  show this text
  --version               show the program's version

Exit status: 0 served (and the flash matches when --verify is given), 1 a flash differs,
2 bad options or the HEX text was refused, 3 a pseudo-terminal could not be made.
)";

struct Options {
  LoaderConfig loader;
  StationConfig station;
  std::string dump, verify;
  bool verify_given = false;
  bool log = false;
  bool print_resets = false;
  bool in_turn = false;
};

[[noreturn]] void Usage(const std::string& problem) {
  throw std::invalid_argument(problem);
}

double Number(const std::string& option, const std::string& text) {
  size_t used = 0;
  double value = -1;
  try {
    value = std::stod(text, &used);
  } catch (const std::exception&) {
  }
  if (text.empty() || used != text.size() || value < 0) Usage(option + " needs a number, not '" + text + "'");
  return value;
}

std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

Geometry ParseGeometry(const std::string& text) {
  Geometry g;
  char comma1 = 0, comma2 = 0, extra = 0;
  std::istringstream in(text);
  in >> g.chunks_per_block >> comma1 >> g.chunk_size >> comma2 >> g.block_count;
  if (!in || comma1 != ',' || comma2 != ',' || (in >> extra) || g.chunks_per_block < 0 ||
      g.chunks_per_block > 255 || g.chunk_size < 0 || g.chunk_size > 255 || g.block_count < 0 ||
      g.block_count > 65535) {
    Usage("--geometry needs C,S,B with C and S in 0..255 and B in 0..65535, not '" + text + "'");
  }
  return g;
}

// Applies the options in `args` to `o`.
void Parse(const std::vector<std::string>& args, Options& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string a = args[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) Usage(a + " needs a value");
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      std::cout << kHelp;
      std::exit(0);
    } else if (a == "--version") {
      std::cout << "zorvan-sim " << kProgramVersion << "\n";
      std::exit(0);
    } else if (a == "--link") o.station.link = value();
    else if (a == "--baud") o.station.baud = static_cast<unsigned>(Number(a, value()));
    else if (a == "--adapter-latency") o.station.adapter_latency_ms = Number(a, value());
    else if (a == "--gap") o.station.gap_ms = Number(a, value());
    else if (a == "--port-leaves") o.station.port_leaves = true;
    else if (a == "--leave-after") o.loader.leave_after_ms = Number(a, value());
    else if (a == "--in-turn") o.in_turn = true;
    else if (a == "--geometry") o.loader.geometry = ParseGeometry(value());
    else if (a == "--loader-version") o.loader.loader_version = value();
    else if (a == "--description") o.loader.description = Unescape(value());
    else if (a == "--programmed") o.loader.programmed_description = Unescape(value());
    else if (a == "--blank") o.loader.blank = true;
    else if (a == "--erase-ms") o.loader.erase_ms = Number(a, value());
    else if (a == "--write-ms") o.loader.write_ms = Number(a, value());
    else if (a == "--commit-ms") o.loader.commit_ms = Number(a, value());
    else if (a == "--answer-ms") o.loader.answer_ms = Number(a, value());
    else if (a == "--realistic") {
      o.loader.erase_ms = 20;
      o.loader.write_ms = 1;
      o.loader.commit_ms = 3;
      o.loader.answer_ms = 1;
    } else if (a == "--seed") o.loader.seed = static_cast<uint64_t>(Number(a, value()));
    else if (a == "--fault") o.loader.faults.AddScripted(value());
    else if (a == "--fault-rate") o.loader.faults.AddRate(value());
    else if (a == "--silent-after") o.loader.faults.silent_after = static_cast<uint64_t>(Number(a, value()));
    else if (a == "--hangup-after") o.loader.faults.hangup_after = static_cast<uint64_t>(Number(a, value()));
    else if (a == "--dump") o.dump = value();
    else if (a == "--verify") {
      o.verify = value();
      o.verify_given = true;
    } else if (a == "--log") o.log = true;
    else if (a == "--print-resets") o.print_resets = true;
    else Usage("unknown option '" + a + "'");
  }
}

int Count(const std::string& option, const std::string& text) {
  const double value = Number(option, text);
  if (value < 1 || value != static_cast<int>(value)) Usage(option + " needs a whole number from 1, not '" + text + "'");
  return static_cast<int>(value);
}

// The options of every device: those before the first --device are everyone's, and each
// --device K section adds device K's own on top.
std::vector<Options> ParseDevices(int argc, char** argv) {
  std::vector<std::string> shared;
  std::map<int, std::vector<std::string>> own;
  int count = 1;
  int section = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "--count" || a == "--device") && i + 1 >= argc) Usage(a + " needs a value");
    if (a == "--count") count = Count(a, argv[++i]);
    else if (a == "--device") section = Count(a, argv[++i]);
    else (section ? own[section] : shared).push_back(a);
  }
  Options everyone;
  Parse(shared, everyone);
  if (count > 1 && ((!everyone.station.link.empty() && !everyone.in_turn) || !everyone.dump.empty())) {
    Usage("--link and --dump name one device's files: give them after --device K");
  }
  std::vector<Options> devices(static_cast<size_t>(count), everyone);
  for (auto& [device, args] : own) {
    if (device > count) Usage("--device " + std::to_string(device) + " is beyond --count " + std::to_string(count));
    Parse(args, devices[static_cast<size_t>(device - 1)]);
    if (devices[static_cast<size_t>(device - 1)].in_turn != everyone.in_turn) Usage("--in-turn is every device's");
  }
  return devices;
}

// The ports and the devices each serves: a port per device, or one port for all of them
// in turn. A port's line is set by its first device's options.
std::vector<std::unique_ptr<DeviceStation>> MakeStations(const std::vector<Options>& devices) {
  std::vector<std::unique_ptr<DeviceStation>> stations;
  if (devices.front().in_turn) {
    std::vector<LoaderConfig> series;
    for (const Options& options : devices) series.push_back(options.loader);
    stations.push_back(std::make_unique<DeviceStation>(devices.front().station, std::move(series)));
    return stations;
  }
  for (const Options& options : devices) {
    stations.push_back(std::make_unique<DeviceStation>(options.station, std::vector<LoaderConfig>{options.loader}));
  }
  return stations;
}

// Filled before the handlers are installed and never changed while they may run.
std::vector<std::unique_ptr<DeviceStation>>* g_stations = nullptr;

void OnSignal(int signal_number) {
  if (!g_stations) return;
  for (const auto& station : *g_stations) {
    if (signal_number == SIGUSR1) {
      station->RequestSwap();
    } else {
      station->RequestStop();
    }
  }
}

void Dump(const std::vector<uint8_t>& flash, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(flash.data()), static_cast<std::streamsize>(flash.size()));
  if (!out) throw Exception("Cannot create file \"" + path + "\"");
}

// The images of the HEX files the devices are compared with, each prepared once: an
// image is 40,000,000 digits.
class Images {
 public:
  // Nothing when the text was refused.
  const ImageState* Of(const std::string& hex_path) {
    auto [entry, fresh] = images_.try_emplace(hex_path);
    if (fresh) {
      HeadlessSurface surface(std::cerr);
      HexText text = LoadHexText(hex_path == "-" ? std::string() : hex_path);
      entry->second.ok = PrepareImage(surface, text, entry->second.image);
    }
    return entry->second.ok ? &entry->second.image : nullptr;
  }

 private:
  struct Prepared {
    ImageState image;
    bool ok = false;
  };
  std::map<std::string, Prepared> images_;
};

// 0 when the flash holds the image of the HEX text, 1 when it does not, 2 when the text
// was refused. `device` names the device when there are several.
int Verify(const std::vector<uint8_t>& flash, const std::string& hex_path, Images& images,
           const std::string& device) {
  const ImageState* image = images.Of(hex_path);
  if (!image) return 2;
  const std::string difference = CompareFlashWithImage(flash, *image);
  const std::string source = hex_path == "-" ? std::string("the carried firmware") : hex_path;
  const std::string who = device.empty() ? "zorvan-sim: " : "zorvan-sim: " + device + ": ";
  if (!difference.empty()) {
    std::cout << who << "the flash does not hold " << source << ": " << difference << "\n";
    return 1;
  }
  std::cout << who << "the flash holds " << source << ", all " << flash.size() << " bytes\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<Options> devices;
  try {
    devices = ParseDevices(argc, argv);
  } catch (const std::invalid_argument& e) {
    std::cerr << "zorvan-sim: " << e.what() << " (see zorvan-sim --help)\n";
    return 2;
  }
  const bool several = devices.size() > 1;
  try {
    std::mutex output;  // the devices' threads print their resets through it
    for (size_t k = 0; k < devices.size(); ++k) {
      if (!devices[k].print_resets) continue;
      const std::string line = several ? "reset " + std::to_string(k + 1) : "reset";
      devices[k].loader.on_reset = [line, &output] {
        const std::lock_guard<std::mutex> hold(output);
        std::cout << line << std::endl;
      };
    }
    std::vector<std::unique_ptr<DeviceStation>> stations = MakeStations(devices);
    std::vector<std::string> first_paths;
    for (const auto& station : stations) first_paths.push_back(station->PortPath());
    g_stations = &stations;
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGUSR1}) std::signal(s, OnSignal);
    for (const std::string& path : first_paths) std::cout << path << "\n";
    std::cout << std::flush;
    {
      // Each port is served on a thread of its own, as separate hardware would be.
      std::vector<std::thread> serving;
      for (const auto& station : stations) serving.emplace_back([&station] { station->Serve(); });
      for (std::thread& t : serving) t.join();
    }
    g_stations = nullptr;
    int status = 0;
    Images images;
    for (size_t s = 0; s < stations.size(); ++s) {
      const auto& came = stations[s]->Devices();
      for (size_t d = 0; d < came.size(); ++d) {
        // A device that came after another and was never written has only just come.
        if (d > 0 && !came[d]->Written()) continue;
        // A device is named by its port, and by its place in the port's turn when it had one.
        const size_t series_index = devices.front().in_turn ? std::min(d, devices.size() - 1) : s;
        const Options& options = devices[series_index];
        const bool took_turns = came.size() > 1 || devices.front().in_turn;
        std::string device = several && (stations.size() > 1 || !took_turns) ? first_paths[s] : std::string();
        if (took_turns) {
          if (!device.empty()) device += ' ';
          device += "device " + std::to_string(d + 1);
        }
        const LoaderModel& loader = *came[d];
        if (options.log) {
          for (const std::string& frame : loader.Frames()) std::cerr << (device.empty() ? "" : device + ": ") << frame << "\n";
        }
        if (!options.dump.empty()) Dump(loader.Flash(), options.dump);
        if (options.verify_given) status = std::max(status, Verify(loader.Flash(), options.verify, images, device));
      }
    }
    return status;
  } catch (const zorvan::Exception& e) {
    std::cerr << "zorvan-sim: " << ExceptionDisplayText(e.Message()) << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "zorvan-sim: " << e.what() << "\n";
    return 3;
  }
}
