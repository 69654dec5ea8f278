// The command line's screens, each in one language: Ukrainian unless the locale asks for
// English, the system's own texts included; and the help as such tools give it.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "tests/support/program_runner.h"

namespace zorvan::testing {
namespace {

bool HasCyrillic(const std::string& text) {
  for (unsigned char c : text) {
    if (c >= 0xD0 && c <= 0xD3) return true;  // UTF-8 lead bytes of U+0400 to U+04FF
  }
  return false;
}

// The English words of a Ukrainian screen, leaving out what stays as it is in every
// language: paths and file names, options, numbers and frames, and names (the programs,
// their commands, the keys, the formats and the systems).
std::set<std::string> EnglishWords(const std::string& text) {
  static const std::set<std::string> kNames = {
      "zorvan", "flash", "check", "ports", "detect", "write", "reset", "records", "man", "Ctrl", "Delete", "C", "L",
      "HEX", "Intel", "JSON", "USB", "Linux", "Windows", "LC", "ALL", "MESSAGES", "LANG", "en", "sudo", "usermod",
      "aG", "USER"};
  char name[256] = {};
  gethostname(name, sizeof name - 1);
  const std::string host = name;  // the records' column of computers
  std::set<std::string> words;
  static const std::regex kToken(R"(\S+)");
  static const std::regex kLatin("[A-Za-z]+");
  for (auto t = std::sregex_iterator(text.begin(), text.end(), kToken); t != std::sregex_iterator(); ++t) {
    std::string token = t->str();
    token.erase(0, token.find_first_not_of("[(«\"'"));
    if (token.empty() || token.find_first_of("/\\.:$_=0123456789") != std::string::npos || token[0] == '-') continue;
    for (auto w = std::sregex_iterator(token.begin(), token.end(), kLatin); w != std::sregex_iterator(); ++w) {
      if (!kNames.count(w->str()) && w->str() != host) words.insert(w->str());
    }
  }
  return words;
}

class ScreenLanguage : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorvan-language-XXXXXX";
    dir_ = mkdtemp(pattern);
    hex_ = WriteHexFile(dir_ + "/fw.hex", 128);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Everything a user sees in a session with the command line: help, mistakes, a check,
  // a write with its progress and record, a device that is not there, the records.
  std::string Session(Locale locale) const {
    const std::string record = dir_ + (locale == Locale::English ? "/en.jsonl" : "/uk.jsonl");
    std::ofstream(dir_ + "/page.hex") << "<html><body>404 Not Found</body></html>\n";
    std::ofstream(dir_ + "/cut.hex") << ":10000000AABBCCD\n";
    SimProcess sim({"--baud", "0", "--geometry", "4,16,2"});
    const std::vector<std::vector<std::string>> commands = {
        {"--help"},
        {"write", "--help"},
        {"records", "--help"},
        {"write2"},
        {"detect", "--port"},
        {"write", "--port", "x", "--baud", "12"},
        {"check"},
        {"check", dir_ + "/page.hex"},
        {"check", dir_ + "/cut.hex"},
        {"check", dir_ + "/missing.hex"},
        {"write", "--port", sim.PortPath(), "--hex", hex_, "--record", record, "--verbose"},
        {"detect", "--port", sim.PortPath()},
        {"detect", "--port", dir_},
        {"reset", "--port", dir_ + "/no-such-port"},
        {"records", record},
        {"records", hex_},
    };
    std::string screen;
    for (const auto& args : commands) {
      const ProgramResult r = RunProgram("zorvan-flash", args, locale);
      screen += r.out + r.err;
    }
    return screen;
  }

  std::string dir_, hex_;
};

TEST_F(ScreenLanguage, EveryScreenIsInOneLanguage) {
  const std::string ukrainian = Session(Locale::Ukrainian);
  EXPECT_TRUE(HasCyrillic(ukrainian));
  EXPECT_EQ(EnglishWords(ukrainian), std::set<std::string>{}) << ukrainian;
  const std::string english = Session(Locale::English);
  EXPECT_FALSE(HasCyrillic(english)) << english;
  EXPECT_NE(english.find("The firmware was written successfully at "), std::string::npos) << english;
}

// Every option on a line of its own before any prose: "--port PATH  what it does".
TEST_F(ScreenLanguage, TheHelpListsEveryOptionOnALineBeforeAnyProse) {
  const ProgramResult help = RunProgram("zorvan-flash", {"--help"}, Locale::English);
  EXPECT_EQ(help.status, 0);
  const std::string& text = help.out;
  const size_t options = text.find("\nOptions:\n");
  const size_t prose = text.find("\nExit status:\n");
  ASSERT_NE(options, std::string::npos) << text;
  ASSERT_LT(options, prose) << text;
  for (const char* option : {"--port PATH", "--baud RATE", "--hex FILE", "--record FILE", "--loop", "--force",
                             "--allow-downgrade", "--verbose", "--dump-image PATH", "--dump-hex PATH",
                             "--since DATE", "-q, --quiet", "-h, --help", "-V, --version"}) {
    const size_t line = text.find(std::string("\n  ") + option + "  ", options);
    EXPECT_LT(line, prose) << option;
  }
  for (const char* status : {"\n 14  check:", "\n 15  records:", "\n 16  records:"}) {
    EXPECT_NE(text.find(status), std::string::npos) << status;
  }
  EXPECT_EQ(RunProgram("zorvan-flash", {"-V"}).out, RunProgram("zorvan-flash", {"--version"}).out);
}

}  // namespace
}  // namespace zorvan::testing
