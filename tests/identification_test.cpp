// The detect button against a simulated device: what the operator sees for each
// outcome, and how the identify loop and the description are read.

#include "protocol/identification.h"

#include <gtest/gtest.h>

#include "tests/support/flasher_harness.h"

namespace zorvan::testing {
namespace {

const std::string kNotFoundDetect =
    "Не визначино, для усунення причин:\r\n"
    "- прилад повинен бути включеним;\r\n"
    "- ввести пароль;\r\n"
    "- перевірити вибір немеру СОМ;\r\n"
    "- перевірити швидкість (більшість 115200).";

sim::LoaderConfig WithFaults(sim::LoaderConfig c, std::initializer_list<const char*> faults) {
  for (const char* f : faults) c.faults.AddScripted(f);
  return c;
}

TEST(DetectButton, FoundDeviceIsReportedAndTheOpenButtonAskedFor) {
  FlasherHarness h(SmallDevice(16, 64, 8));
  h.surface.record_sleeps = true;
  EXPECT_EQ(ButtonConectClick(h.flasher), IdentifyOutcome::Found);

  EXPECT_EQ(h.state.ChunksPerBlock, 16);
  EXPECT_EQ(h.state.ChunkSize, 64);
  EXPECT_EQ(h.state.BlockCount, 8);
  EXPECT_EQ(h.state.LoaderVersion, "02");
  EXPECT_EQ(h.state.ReplyCode, "83");  // taken from the Describe reply at last
  EXPECT_EQ(h.surface.memo, "250101");
  EXPECT_EQ(h.surface.messages,
            (std::vector<std::string>{"Визначино:\r\n250101",
                                      "              Робота приладу призупинена!\r\n"
                                      "Відкрийте мікропрограму з розширенням - HEX"}));
  EXPECT_EQ(h.surface.beeps, (std::vector<unsigned>{MB_ICONQUESTION, MB_ICONASTERISK}));
  EXPECT_EQ(h.surface.status, "Відкрийте мікропрограму з розширенням - HEX");
  EXPECT_EQ(h.surface.focused, "ButtonOpenHex");
  EXPECT_TRUE(h.surface.enabled[Control::ButtonOpenHex]);
  EXPECT_EQ(h.surface.calibration, "Автокалібровка: 0.0.0");
  EXPECT_EQ(h.surface.chunk_position, 0);
  EXPECT_TRUE(h.port.Connected());
  EXPECT_TRUE(h.surface.ActsStartingWith("firmware.clear").empty());
  EXPECT_EQ(h.surface.processed, 1);
  EXPECT_EQ(h.surface.ActsStartingWith("gauge"),
            (std::vector<std::string>{"gauge.max 100", "gauge 0", "gauge 10", "gauge 20", "gauge 30", "gauge 40",
                                      "gauge 50", "gauge 60", "gauge 80", "gauge 0"}));
  // Only the wake-ups wait: Identify and Describe end as their replies come.
  EXPECT_EQ(h.surface.ActsStartingWith("sleep"),
            (std::vector<std::string>{"sleep 50", "sleep 50", "sleep 50", "sleep 50", "sleep 50"}));
  EXPECT_EQ(h.Frames(), (std::vector<std::string>{"w0202;", "w0303;"}));
}

TEST(DetectButton, SilentDeviceIsNotFoundAfterTenIdentifyAttempts) {
  sim::LoaderConfig c = SmallDevice();
  c.faults.silent_after = 0;
  FlasherHarness h(c);
  EXPECT_EQ(ButtonConectClick(h.flasher), IdentifyOutcome::NotFound);
  EXPECT_EQ(h.surface.messages, std::vector<std::string>{kNotFoundDetect});
  EXPECT_EQ(h.surface.beeps, (std::vector<unsigned>{MB_ICONQUESTION, MB_ICONHAND}));
  EXPECT_EQ(h.surface.status, "Мікропрограма готова до запису");
  EXPECT_EQ(h.surface.memo, "");
  EXPECT_EQ(h.surface.ActsStartingWith("firmware.clear").size(), 1u);
  EXPECT_EQ(h.surface.gauge.Progress(), 0);
  EXPECT_FALSE(h.port.Connected());
  EXPECT_EQ(h.FramesOf("02").size(), 10u);
}

TEST(DetectButton, NoiseInFrontOfTheReplyShiftsTheFieldsAndTheDeviceIsNotFound) {
  FlasherHarness h(WithFaults(SmallDevice(), {"noise@1"}));
  EXPECT_EQ(ButtonConectClick(h.flasher), IdentifyOutcome::NotFound);
  EXPECT_EQ(h.surface.messages, std::vector<std::string>{kNotFoundDetect});
  EXPECT_EQ(h.Frames(), std::vector<std::string>{"w0202;"});  // the reply ended in ";": no retry
}

TEST(DetectButton, UnknownLoaderVersionKeepsThePortOpenAndTheOpenButtonAsItWas) {
  sim::LoaderConfig c = SmallDevice();
  c.loader_version = "03";
  FlasherHarness h(c);
  EXPECT_EQ(ButtonConectClick(h.flasher), IdentifyOutcome::UnknownLoaderVersion);
  EXPECT_EQ(h.surface.messages,
            std::vector<std::string>{"03 - невідома версія завантажувача мікроконтролера"});
  EXPECT_EQ(h.surface.beeps, (std::vector<unsigned>{MB_ICONQUESTION, MB_ICONASTERISK}));
  EXPECT_EQ(h.surface.status, "Мікропрограма готова до запису");
  EXPECT_TRUE(h.surface.ActsStartingWith("disable").empty());
  EXPECT_EQ(h.surface.ActsStartingWith("firmware.clear").size(), 1u);
  EXPECT_TRUE(h.port.Connected());
  EXPECT_EQ(h.Frames(), std::vector<std::string>{"w0202;"});
}

TEST(DetectButton, ReadsWithoutTheFinalSemicolonAreRetriedAndTheTenthIsTakenAsItIs) {
  FlasherHarness three(WithFaults(SmallDevice(), {"cut@1", "cut@2", "cut@3"}));
  EXPECT_EQ(ButtonConectClick(three.flasher), IdentifyOutcome::Found);
  EXPECT_EQ(three.FramesOf("02").size(), 4u);

  FlasherHarness ten(WithFaults(SmallDevice(), {"cut@1", "cut@2", "cut@3", "cut@4", "cut@5", "cut@6", "cut@7",
                                                "cut@8", "cut@9", "cut@10"}));
  EXPECT_EQ(ButtonConectClick(ten.flasher), IdentifyOutcome::Found);
  EXPECT_EQ(ten.FramesOf("02").size(), 10u);
  EXPECT_EQ(ten.state.BlockCount, 3);
  EXPECT_EQ(ten.surface.gauge.MaxValue(), 100);
}

// A ";" inside the description does not end its reply.
TEST(DetectButton, TheDescriptionKeepsItsSemicolonsAndItsLineFeedsStartLinesButNeverEmptyOnes) {
  const std::pair<const char*, const char*> cases[] = {{"\nAB\n\nCD\n", "AB\r\nCD"},
                                                       {"Zorvan; 250101", "Zorvan; 250101"}};
  for (const auto& [description, memo] : cases) {
    sim::LoaderConfig c = SmallDevice();
    c.description = description;
    FlasherHarness h(c);
    EXPECT_EQ(ButtonConectClick(h.flasher), IdentifyOutcome::Found);
    EXPECT_EQ(h.surface.memo, memo);
    EXPECT_EQ(h.surface.messages.at(0), std::string("Визначино:\r\n") + memo);
  }
}

TEST(CutDescription, TakesTheReplyFromItsFourthCharacterWithoutTheLastThree) {
  auto cut = [](std::string reply) {
    std::string description;
    const bool left = CutDescription(reply, description);
    return std::pair{left, description};
  };
  EXPECT_EQ(cut("w83ABC12;"), std::pair(true, std::string("ABC")));
  EXPECT_EQ(cut("w83ABC12"), std::pair(true, std::string("AB")));  // no ";": still three go
  EXPECT_EQ(cut("w83A1;"), std::pair(true, std::string()));
  EXPECT_EQ(cut("w8312;"), std::pair(true, std::string()));
  EXPECT_EQ(cut("w83;"), std::pair(false, std::string()));
  EXPECT_EQ(cut(""), std::pair(false, std::string()));
}

TEST(DescriptionMemoText, KeepsCarriageReturnsAndDropsEmptyLines) {
  EXPECT_EQ(DescriptionMemoText("260313"), "260313");
  EXPECT_EQ(DescriptionMemoText("260313\n"), "260313");
  EXPECT_EQ(DescriptionMemoText("AB\r\nCD"), "AB\r\r\nCD");
  EXPECT_EQ(DescriptionMemoText("\n\n"), "");
}

}  // namespace
}  // namespace zorvan::testing
