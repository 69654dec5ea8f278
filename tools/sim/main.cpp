// zorvan-sim: a simulated Zorvan device on a pseudo-terminal, for trying the flasher
// without hardware. It prints the port path to open, serves the loader protocol until
// it is told to stop (SIGINT, SIGTERM, SIGHUP) or hangs up, then dumps and checks its
// flash when asked to.

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "common/errors.h"
#include "firmware/image_builder.h"
#include "tools/flash/console_surface.h"
#include "firmware/firmware_source.h"
#include "tools/sim/flash_check.h"
#include "tools/sim/pty_line.h"

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
At the end:
  --dump PATH             write the flash, byte for byte, to PATH
  --verify HEX            compare the flash with the image of HEX ("-": the carried firmware);
                          exit status 1 on any difference
  --log                   then print every accepted frame on the standard error

Exit status: 0 served (and the flash matches when --verify is given), 1 the flash differs,
2 bad options or the HEX text was refused, 3 the pseudo-terminal could not be made.
)";

struct Options {
  LoaderConfig loader;
  unsigned baud = 115200;
  double adapter_latency_ms = 0;
  std::string link, dump, verify;
  bool verify_given = false;
  bool log = false;
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

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) Usage(a + " needs a value");
      return argv[++i];
    };
    if (a == "--help" || a == "-h") {
      std::cout << kHelp;
      std::exit(0);
    } else if (a == "--link") o.link = value();
    else if (a == "--baud") o.baud = static_cast<unsigned>(Number(a, value()));
    else if (a == "--adapter-latency") o.adapter_latency_ms = Number(a, value());
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
    else Usage("unknown option '" + a + "'");
  }
  return o;
}

PtyLine* g_line = nullptr;

void OnSignal(int) {
  if (g_line) g_line->RequestStop();
}

void Dump(const std::vector<uint8_t>& flash, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(flash.data()), static_cast<std::streamsize>(flash.size()));
  if (!out) throw Exception("Cannot create file \"" + path + "\"");
}

// 0 when the flash holds the image of the HEX text, 1 when it does not, 2 when the text
// was refused.
int Verify(const std::vector<uint8_t>& flash, const std::string& hex_path) {
  cli::ConsoleSurface surface(std::cerr);
  HexText text = LoadHexText(hex_path == "-" ? std::string() : hex_path);
  ImageState image;
  if (!PrepareImage(surface, text, image)) return 2;
  const std::string difference = CompareFlashWithImage(flash, image);
  const std::string source = hex_path == "-" ? std::string("the carried firmware") : hex_path;
  if (!difference.empty()) {
    std::cout << "zorvan-sim: the flash does not hold " << source << ": " << difference << "\n";
    return 1;
  }
  std::cout << "zorvan-sim: the flash holds " << source << ", all " << flash.size() << " bytes\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  try {
    options = Parse(argc, argv);
  } catch (const std::invalid_argument& e) {
    std::cerr << "zorvan-sim: " << e.what() << " (see zorvan-sim --help)\n";
    return 2;
  }
  try {
    PtyLine line(options.baud, options.adapter_latency_ms);
    LoaderModel loader(options.loader);
    if (!options.link.empty()) {
      std::filesystem::remove(options.link);
      std::filesystem::create_symlink(line.SlavePath(), options.link);
    }
    g_line = &line;
    for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, OnSignal);
    std::cout << line.SlavePath() << std::endl;
    line.Serve(loader);
    g_line = nullptr;
    if (!options.link.empty()) std::filesystem::remove(options.link);
    if (options.log) {
      for (const std::string& frame : loader.Frames()) std::cerr << frame << "\n";
    }
    if (!options.dump.empty()) Dump(loader.Flash(), options.dump);
    return options.verify_given ? Verify(loader.Flash(), options.verify) : 0;
  } catch (const zorvan::Exception& e) {
    std::cerr << "zorvan-sim: " << ExceptionDisplayText(e.Message()) << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "zorvan-sim: " << e.what() << "\n";
    return 3;
  }
}
