#include "tools/sim/loader_model.h"

#include <gtest/gtest.h>

#include "protocol/frames.h"

namespace zorvan::sim {
namespace {

using std::chrono::milliseconds;

// Feeds text to the loader as if every character arrived at `at`.
std::vector<Transmission> Feed(LoaderModel& loader, std::string_view text, Time at = Time{}) {
  std::vector<Transmission> out;
  for (char c : text) loader.Receive(c, at, out);
  return out;
}

std::vector<std::string> Texts(const std::vector<Transmission>& sent) {
  std::vector<std::string> texts;
  for (const Transmission& t : sent) texts.push_back(t.text);
  return texts;
}

LoaderConfig SmallDevice() {
  LoaderConfig c;
  c.geometry = {2, 4, 3};  // blocks of 8 bytes, 24 bytes in all
  return c;
}

std::string WriteFrame(int index, const std::string& digits) {
  return FrameCommand("05" + std::string(index < 16 ? "0" : "") + std::to_string(index) + digits);
}

TEST(LoaderModel, AnswersIdentifyDescribeAndResetAfterTheWakeUpString) {
  LoaderConfig c = SmallDevice();
  c.description = "250101";
  LoaderModel loader(c);
  EXPECT_EQ(Texts(Feed(loader, "wwwwwwwwwww0202;")), std::vector<std::string>{"w82020000020400038D;"});
  EXPECT_EQ(Texts(Feed(loader, "w0303;")), std::vector<std::string>{"w83250101AA;"});
  EXPECT_EQ(Texts(Feed(loader, "w0101;")), std::vector<std::string>{"w8181;"});
  EXPECT_EQ(loader.Frames(), (std::vector<std::string>{"w0202;", "w0303;", "w0101;"}));
}

TEST(LoaderModel, IgnoresDamagedFramesAndUnknownCommands) {
  LoaderModel loader(SmallDevice());
  for (const char* bad : {"w0203;", "w0202", "w02;", "w0x0x;", "w0202FF;", "w020;", "w0707;", "w01010103;"}) {
    EXPECT_TRUE(Feed(loader, bad).empty()) << bad;
  }
  EXPECT_EQ(loader.Frames(), (std::vector<std::string>{"w0707;", "w01010103;"}));
}

TEST(LoaderModel, CommitProgramsTheLastWriteAtTheLastEraseAddressPlusItsIndex) {
  LoaderModel loader(SmallDevice());
  Feed(loader, FrameCommand("04000008"));
  Feed(loader, WriteFrame(2, "01020304"));
  Feed(loader, "w0606;");
  const std::vector<uint8_t> block(loader.Flash().begin() + 8, loader.Flash().begin() + 16);
  EXPECT_EQ(block, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4}));
}

TEST(LoaderModel, WritingWithoutErasingOnlyClearsBits) {
  LoaderConfig c = SmallDevice();
  LoaderModel loader(c);
  Feed(loader, FrameCommand("04000000"));
  Feed(loader, WriteFrame(1, "F0F0F0F0"));
  Feed(loader, "w0606;");
  Feed(loader, WriteFrame(1, "3C3C3C3C"));
  Feed(loader, "w0606;");
  EXPECT_EQ(loader.Flash()[0], 0x30);
}

TEST(LoaderModel, RefusesAChunkLargerThanItsBufferOrOutsideTheBlock) {
  LoaderModel loader(SmallDevice());
  Feed(loader, FrameCommand("04000000"));
  EXPECT_TRUE(Feed(loader, WriteFrame(1, "0102030405")).empty());
  EXPECT_TRUE(Feed(loader, WriteFrame(3, "01020304")).empty());
  EXPECT_TRUE(Feed(loader, WriteFrame(0, "01020304")).empty());
  EXPECT_EQ(Texts(Feed(loader, WriteFrame(2, "0102"))), std::vector<std::string>{"w8585;"});
}

TEST(LoaderModel, ReportsTheNewVersionOnlyAfterACompleteRunAndAReset) {
  LoaderConfig c = SmallDevice();
  c.geometry = {2, 1, 2};
  LoaderModel loader(c);
  auto program_block = [&](const char* erase) {
    Feed(loader, FrameCommand(erase));
    for (int i = 1; i <= 2; ++i) {
      Feed(loader, WriteFrame(i, "00"));
      Feed(loader, "w0606;");
    }
  };
  program_block("04000000");
  Feed(loader, "w0101;");
  EXPECT_EQ(loader.Description(), "250101");  // one block of two: not complete
  program_block("04000000");
  program_block("04000002");
  Feed(loader, FrameCommand("04000000"));     // erased again after its chunks: incomplete
  Feed(loader, "w0101;");
  EXPECT_EQ(loader.Description(), "250101");
  program_block("04000000");
  program_block("04000002");
  Feed(loader, "w0101;");
  EXPECT_EQ(loader.Description(), "260313");
}

TEST(LoaderModel, AnswersWhenItsLatencyHasPassedOneCommandAfterTheOther) {
  LoaderConfig c = SmallDevice();
  c.erase_ms = 20;
  c.commit_ms = 3;
  LoaderModel loader(c);
  const Time t0{};
  const auto erase = Feed(loader, FrameCommand("04000000"), t0);
  ASSERT_EQ(erase.size(), 1u);
  EXPECT_EQ(erase[0].due, t0 + milliseconds(20));
  // A command that arrives while the erase is still going waits for it.
  const auto commit = Feed(loader, "w0606;", t0 + milliseconds(5));
  ASSERT_EQ(commit.size(), 1u);
  EXPECT_EQ(commit[0].due, t0 + milliseconds(23));
}

TEST(LoaderModel, ScriptedFaultsSpoilTheRepliesOfTheirCommands) {
  LoaderConfig c = SmallDevice();
  for (const char* f : {"drop@1", "cut@2", "noise@3", "split:5@4", "late@5", "late:30@7", "corrupt@8"}) {
    c.faults.AddScripted(f);
  }
  LoaderModel loader(c);
  const Time t0{};
  EXPECT_TRUE(Feed(loader, "w0606;", t0).empty());
  EXPECT_EQ(Texts(Feed(loader, "w0606;", t0)), std::vector<std::string>{"w8686"});
  const auto noisy = Texts(Feed(loader, "w0606;", t0));
  ASSERT_EQ(noisy.size(), 1u);
  EXPECT_GT(noisy[0].size(), 6u);
  EXPECT_EQ(noisy[0].substr(noisy[0].size() - 6), "w8686;");
  EXPECT_NE(noisy[0][0], 'w');
  const auto split = Feed(loader, "w0606;", t0);
  ASSERT_EQ(split.size(), 2u);
  EXPECT_EQ(split[0].text + split[1].text, "w8686;");
  EXPECT_EQ(split[1].due - split[0].due, milliseconds(5));
  EXPECT_TRUE(Feed(loader, "w0606;", t0).empty());  // held back...
  const auto with_held = Feed(loader, "w0202;", t0 + milliseconds(50));
  EXPECT_EQ(Texts(with_held), (std::vector<std::string>{"w8686;", "w82020000020400038D;"}));  // ...until the next
  const auto late = Feed(loader, "w0606;", t0 + milliseconds(50));
  ASSERT_EQ(late.size(), 1u);
  EXPECT_EQ(late[0].due, t0 + milliseconds(80));
  const auto corrupt = Texts(Feed(loader, "w0606;", t0));
  ASSERT_EQ(corrupt.size(), 1u);
  EXPECT_NE(corrupt[0], "w8686;");
  EXPECT_EQ(corrupt[0].size(), 6u);
}

TEST(LoaderModel, FallsSilentOrHangsUpAfterItsCommands) {
  LoaderConfig c = SmallDevice();
  c.faults.silent_after = 1;
  LoaderModel silent(c);
  EXPECT_EQ(Feed(silent, "w0606;").size(), 1u);
  EXPECT_TRUE(Feed(silent, "w0606;").empty());

  LoaderConfig h = SmallDevice();
  h.faults.hangup_after = 2;
  LoaderModel hanging(h);
  Feed(hanging, "w0606;");
  EXPECT_FALSE(hanging.HungUp());
  EXPECT_EQ(Feed(hanging, "w0606;").size(), 1u);  // the last command is still answered
  EXPECT_TRUE(hanging.HungUp());
  EXPECT_TRUE(Feed(hanging, "w0606;").empty());
}

TEST(FaultPlan, RefusesWhatItCannotRead) {
  FaultPlan plan;
  for (const char* bad : {"drop", "drop@0", "drop@x", "fizz@1", "drop:5@1", "late:-1@2"}) {
    EXPECT_THROW(plan.AddScripted(bad), std::invalid_argument) << bad;
  }
  for (const char* bad : {"drop", "drop=2", "late:1=x"}) {
    EXPECT_THROW(plan.AddRate(bad), std::invalid_argument) << bad;
  }
}

TEST(FaultPlan, TheSameSeedGivesTheSameFaults) {
  auto faults_of = [](uint64_t seed) {
    FaultPlan plan;
    plan.AddRate("drop=0.3");
    plan.Seed(seed);
    std::string pattern;
    for (int i = 1; i <= 64; ++i) pattern += plan.For(i).Has(FaultKind::Drop) ? 'x' : '.';
    return pattern;
  };
  EXPECT_EQ(faults_of(7), faults_of(7));
  EXPECT_NE(faults_of(7), faults_of(8));
  EXPECT_NE(faults_of(7).find('x'), std::string::npos);
}

}  // namespace
}  // namespace zorvan::sim
