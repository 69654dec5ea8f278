// The write button against a simulated device: complete runs checked byte for byte,
// the version gate, the self-calibrating pauses, the failure budget and the endings.

#include "protocol/programming_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/conversions.h"
#include "common/errors.h"
#include "protocol/frames.h"
#include "tests/support/flasher_harness.h"

namespace zorvan::testing {
namespace {

const std::string kCompleted =
    std::string(41, ' ') + "Мікропрограма успішно завантажена в 12:34:56\r\n" +
    "Після запису необхідно провести процедуру встановлення початкових установок (при наявності)\r\n" +
    std::string(18, ' ') + "Після запису необхідно провести встановлення конфігурації (при наявності)";
const std::string kWarning =
    std::string(47, ' ') + "Увага!\r\nПри неповному запису можлива некоректна робота приладу!";

sim::LoaderConfig WithFaults(sim::LoaderConfig c, const std::vector<std::string>& faults) {
  for (const std::string& f : faults) c.faults.AddScripted(f);
  return c;
}

// The frames of a clean run over `blocks` blocks of two 4-byte chunks.
std::vector<std::string> CleanBlockFrames(const std::string& image, int blocks) {
  std::vector<std::string> frames;
  for (int b = 0; b < blocks; ++b) {
    const int address = b * 8;
    frames.push_back(FrameCommand("04" + IntToHex(address, 6)));
    for (int i = 1; i <= 2; ++i) {
      frames.push_back(FrameCommand("050" + std::to_string(i) + image.substr(2 * (address + 4 * (i - 1)), 8)));
      frames.push_back("w0606;");
    }
  }
  return frames;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::vector<std::string> kIdentified = {"w0202;", "w0303;"};
const std::vector<std::string> kResets = {"w0101;", "w0101;"};

TEST(WriteButton, CompleteRunPutsEveryByteIntoTheDeviceAndResetsIt) {
  FlasherHarness h(SmallDevice());
  EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Completed);

  EXPECT_EQ(h.FlashDigits(), h.state.ImageText);
  EXPECT_EQ(h.Frames(), Concat(Concat(kIdentified, CleanBlockFrames(h.state.ImageText, 3)), kResets));
  EXPECT_EQ(h.sim.Device().Description(), "260313");  // the new firmware answers after the reset

  EXPECT_EQ(h.surface.messages, std::vector<std::string>{kCompleted});
  EXPECT_EQ(h.surface.beeps, (std::vector<unsigned>{MB_ICONASTERISK, MB_ICONEXCLAMATION}));
  EXPECT_EQ(h.surface.status, "Мікропрограма : успішно завантажена в 12:34:56");
  EXPECT_EQ(h.surface.enabled,
            (std::map<Control, bool>{{Control::ButtonWrite, false}, {Control::ButtonConect, true},
                                     {Control::ButtonOpenHex, true}, {Control::cbPort, true},
                                     {Control::cbBaudRate, true}}));
  EXPECT_EQ(h.surface.focused, "ButtonConect");
  EXPECT_EQ(h.surface.gauge.Progress(), 0);
  EXPECT_EQ(h.surface.chunk_position, 0);
  EXPECT_EQ(h.surface.calibration, "Автокалібровка: 0.0.0");
  EXPECT_FALSE(h.port.Connected());
  // Once in identification, then at every block, chunk and attempt.
  EXPECT_EQ(h.surface.processed, 1 + 3 + 6 + 15);
}

TEST(WriteButton, SetUpDisablesTheControlsBeforeTheFirstEraseAndLogsEveryAttempt) {
  FlasherHarness h(SmallDevice(2, 4, 1));
  ASSERT_EQ(ButtonWriteClick(h.flasher), RunEnding::Completed);
  const auto& acts = h.surface.acts;
  const auto setup = std::find(acts.begin(), acts.end(), "enable ButtonOpenHex");
  ASSERT_NE(setup, acts.end());
  EXPECT_EQ(std::vector<std::string>(setup, setup + 12),
            (std::vector<std::string>{"enable ButtonOpenHex", "beep 64", "disable cbPort", "disable cbBaudRate",
                                      "disable ButtonConect", "disable ButtonWrite", "gauge.max 1", "gauge 0",
                                      "status Йде запис! Заборонено переривати!", "memo+ Очистивw0400000004;",
                                      "chunk.max 2", "chunk 0"}));
  const std::string image = h.state.ImageText;
  EXPECT_EQ(h.surface.memo, "250101\r\nОчистивw0400000004;\r\nЗаписав" + FrameCommand("0501" + image.substr(0, 8)) +
                                "\r\nПрошивw0606;\r\nЗаписав" + FrameCommand("0502" + image.substr(8, 8)) +
                                "\r\nПрошивw0606;");
}

TEST(WriteButton, TheVersionGateRefusesThisOrANewerFirmwareWithoutErasing) {
  const std::pair<const char*, const char*> cases[] = {
      {"260313", "Дана версія вже записана в прилад!"},
      {"260314", "В прилад вже записана новіша версія!"},
      {"26031", "Невідомо що то є!"},
      {"2603120", "Невідомо що то є!"},
  };
  for (const auto& [description, message] : cases) {
    sim::LoaderConfig c = SmallDevice();
    c.description = description;
    FlasherHarness h(c);
    EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Refused) << description;
    EXPECT_EQ(h.surface.messages, std::vector<std::string>{message});
    EXPECT_EQ(h.surface.beeps, std::vector<unsigned>{MB_ICONEXCLAMATION});
    EXPECT_EQ(h.surface.status, "Визначте прилад");  // as identification left it
    EXPECT_TRUE(h.surface.ActsStartingWith("disable").empty());
    EXPECT_FALSE(h.port.Connected());
    EXPECT_EQ(h.Frames(), Concat(kIdentified, kResets)) << description;
  }
}

TEST(WriteButton, AnEmptyDescriptionReplyIsAnUnknownDeviceAndRefused) {
  FlasherHarness h(WithFaults(SmallDevice(), {"drop@2"}));
  EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Refused);
  EXPECT_EQ(h.surface.memo, "Невідомий прилад/версія");
  EXPECT_EQ(h.surface.messages, std::vector<std::string>{"Невідомо що то є!"});
}

TEST(WriteButton, ADescriptionThatIsNotANumberEndsWithTheConversionErrorAndNoReset) {
  sim::LoaderConfig c = SmallDevice();
  c.description = "26A313";
  FlasherHarness h(c);
  try {
    ButtonWriteClick(h.flasher);
    ADD_FAILURE() << "no conversion error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'26A313' is not a valid integer value");
  }
  EXPECT_TRUE(h.port.Connected());
  EXPECT_EQ(h.Frames(), kIdentified);
}

TEST(WriteButton, NotFoundAndUnknownLoaderVersionUseTheWriteButtonsTexts) {
  sim::LoaderConfig silent = SmallDevice();
  silent.faults.silent_after = 0;
  FlasherHarness nobody(silent);
  EXPECT_EQ(ButtonWriteClick(nobody.flasher), RunEnding::NotFound);
  EXPECT_EQ(nobody.surface.messages, std::vector<std::string>{"Не визначино, для усунення причин:\r\n"
                                                              "- прилад повинен бути включеним;\r\n"
                                                              "- розвернути роз`єм програмування;\r\n"
                                                              "- ввести пароль;\r\n"
                                                              "- перевірити вибір немеру СОМ."});
  EXPECT_EQ(nobody.surface.beeps, std::vector<unsigned>{MB_ICONHAND});
  EXPECT_FALSE(nobody.port.Connected());

  sim::LoaderConfig other = SmallDevice();
  other.loader_version = "01";
  FlasherHarness old_loader(other);
  EXPECT_EQ(ButtonWriteClick(old_loader.flasher), RunEnding::UnknownLoaderVersion);
  EXPECT_EQ(old_loader.surface.ActsStartingWith("disable"), std::vector<std::string>{"disable ButtonOpenHex"});
  EXPECT_TRUE(old_loader.port.Connected());
}

TEST(WriteButton, EveryFailureRaisesThePauseOfItsOwnKindAndTheLabelShowsAllThree) {
  // Commands: 1 Identify, 2 Describe, 3 Erase, 4 Erase, 5-7 Write, 8-9 Commit, ...
  FlasherHarness h(WithFaults(SmallDevice(), {"cut@3", "cut@5", "cut@6", "cut@8"}));
  // The timed window waits for each pause before it reads, so the pauses are seen.
  h.flasher.exchange.style = ExchangeStyle::TimedWindow;
  h.surface.record_sleeps = true;
  ASSERT_EQ(ButtonWriteClick(h.flasher), RunEnding::Completed);
  EXPECT_EQ(h.surface.ActsStartingWith("calibration"),
            (std::vector<std::string>{"calibration Автокалібровка: 0.0.0", "calibration Автокалібровка: 1.0.0",
                                      "calibration Автокалібровка: 1.1.0", "calibration Автокалібровка: 1.2.0",
                                      "calibration Автокалібровка: 1.2.1"}));
  // After the reads of the drain and the identification: the pauses of every attempt.
  std::vector<std::string> pauses;
  for (const std::string& a : h.surface.acts) {
    if (a.rfind("sleep", 0) == 0 && a != "sleep 50" && a != "sleep 100" && a != "sleep 1000") pauses.push_back(a);
  }
  EXPECT_EQ(pauses, (std::vector<std::string>{
                        "sleep 1",             // the erase's second attempt
                        "sleep 1", "sleep 2",  // the first write's second and third
                        "sleep 1",             // the first commit's second
                        "sleep 2", "sleep 1",  // chunk 2: write and commit keep their pauses
                        "sleep 1", "sleep 2", "sleep 1", "sleep 2", "sleep 1",  // block 2
                        "sleep 1", "sleep 2", "sleep 1", "sleep 2", "sleep 1",  // block 3
                    }));
  EXPECT_EQ(h.FlashDigits(), h.state.ImageText);
}

TEST(WriteButton, AFailedCommitIsRepeatedAloneWithTheSameFrame) {
  FlasherHarness h(WithFaults(SmallDevice(2, 4, 1), {"cut@5", "drop@6"}));
  ASSERT_EQ(ButtonWriteClick(h.flasher), RunEnding::Completed);
  const std::string image = h.state.ImageText;
  EXPECT_EQ(h.Frames(), Concat(kIdentified, {"w0400000004;", FrameCommand("0501" + image.substr(0, 8)), "w0606;",
                                             "w0606;", "w0606;", FrameCommand("0502" + image.substr(8, 8)),
                                             "w0606;", "w0101;", "w0101;"}));
  EXPECT_EQ(h.surface.calibration, "Автокалібровка: 0.0.2");
  EXPECT_EQ(h.FlashDigits(), image);
}

TEST(WriteButton, AReplyTooLateForItsAttemptIsNeverTakenForTheNextStepsReply) {
  // Commands: 1 Identify, 2 Describe, 3 Erase, 4 Write, 5 Commit, 6 its retry, 7 Write...
  // The first commit's reply comes after its deadline and is taken by the retry, which
  // answers the same frame; the retry's own reply comes after that, when the next
  // write would be reading. A step that needed a retry waits for what it is still owed.
  sim::LoaderConfig c = WithFaults(SmallDevice(2, 4, 1), {"late:250@5"});
  c.commit_ms = 150;
  FlasherHarness h(c);
  h.flasher.exchange.unknown_adapter_latency_ms = 300;  // a deadline of about 340 ms
  ASSERT_EQ(ButtonWriteClick(h.flasher), RunEnding::Completed);
  EXPECT_EQ(h.surface.calibration, "Автокалібровка: 0.0.1");  // the write was not failed by it
  EXPECT_EQ(h.FramesOf("05").size(), 2u);
  EXPECT_EQ(h.FramesOf("06").size(), 3u);
  EXPECT_EQ(h.FlashDigits(), h.state.ImageText);

  // Replies that come too late for their own attempt, then in bursts: every step that
  // is acknowledged has had its own frame done.
  sim::LoaderConfig held = WithFaults(SmallDevice(2, 4, 2), {"late@4", "late@5", "late@9", "late@10"});
  FlasherHarness burst(held);
  ASSERT_EQ(ButtonWriteClick(burst.flasher), RunEnding::Completed);
  EXPECT_EQ(burst.FlashDigits(), burst.state.ImageText);
}

TEST(WriteButton, FourHundredFailuresInARunEndItAfterThePhaseWithItsAddress) {
  // Block 2's erase (commands 8 to 407) fails 399 times and then succeeds: the run
  // goes on. Its first write then fails once more: the 400th failure ends the run
  // although the write's next attempt succeeds. Stray bytes in front of a reply fail it
  // as soon as it has come.
  std::vector<std::string> faults;
  for (int n = 8; n <= 406; ++n) faults.push_back("noise@" + std::to_string(n));
  faults.push_back("noise@408");
  FlasherHarness h(WithFaults(SmallDevice(), faults));
  h.surface.hex_file_name = "fw.hex";
  EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Failed);

  EXPECT_EQ(h.surface.messages, (std::vector<std::string>{std::string(30, ' ') + "\r\nПомилка запису - 000008", kWarning}));
  EXPECT_EQ(h.surface.beeps, (std::vector<unsigned>{MB_ICONASTERISK, MB_ICONASTERISK}));
  EXPECT_EQ(h.surface.ActsStartingWith("tone"), (std::vector<std::string>{"tone 1200 200", "tone 800 200", "tone 500 200"}));
  EXPECT_EQ(h.surface.status, "Мікропрограма : fw.hex - помилка");
  EXPECT_EQ(h.surface.calibration, "Автокалібровка: 399.1.0");
  EXPECT_EQ(h.surface.enabled,
            (std::map<Control, bool>{{Control::ButtonWrite, false}, {Control::ButtonConect, true},
                                     {Control::ButtonOpenHex, true}, {Control::cbPort, true},
                                     {Control::cbBaudRate, true}}));
  EXPECT_EQ(h.surface.gauge.Progress(), 1);  // left where it stood
  EXPECT_TRUE(h.port.Connected());
  const auto& frames = h.Frames();
  ASSERT_EQ(frames.size(), 409u);  // no commit after the write, no reset
  EXPECT_EQ(frames.back().substr(0, 5), "w0501");
}

TEST(WriteButton, AHangUpMidRunIsAPortErrorThatLeavesTheControlsAsTheRunSetThem) {
  sim::LoaderConfig c = SmallDevice();
  c.faults.hangup_after = 6;
  FlasherHarness h(c);
  try {
    ButtonWriteClick(h.flasher);
    ADD_FAILURE() << "no port error";
  } catch (const EComPort& e) {
    // The hang-up meets the commit's write, or, on a slow machine, the read after it.
    EXPECT_THAT(e.Message(), ::testing::AnyOf("Помилка запису в порт.\nНеобхідно повторно відкрити програму!",
                                              "Помилка читання з порта\nНеобхідно повторно відкрити програму!"));
  }
  EXPECT_EQ(h.surface.status, "Йде запис! Заборонено переривати!");
  EXPECT_FALSE(h.surface.enabled[Control::ButtonWrite]);
  EXPECT_FALSE(h.surface.enabled[Control::cbPort]);
  EXPECT_TRUE(h.surface.messages.empty());
}

TEST(WriteButton, AFirmwareLargerThanTheDeviceIsRefusedBeforeAnyErase) {
  FlasherHarness h(SmallDevice(2, 4, 1));
  h.state.WrittenRanges = {{0, 8}, {16, 20}};
  EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Declined);
  EXPECT_EQ(h.surface.messages,
            std::vector<std::string>{"Мікропрограма не вміщується в пам'ять приладу:\r\nприлад має 8 байт, "
                                     "мікропрограма займає 20 байт.\r\nЗапис неможливий!"});
  EXPECT_EQ(h.Frames(), Concat(kIdentified, kResets));
  EXPECT_FALSE(h.port.Connected());

  // A device without blocks, or with blocks of no chunks, holds none of it.
  for (auto geometry : {SmallDevice(2, 4, 0), SmallDevice(0, 4, 3)}) {
    FlasherHarness empty(geometry);
    empty.state.WrittenRanges = {{0, 4}};
    EXPECT_EQ(ButtonWriteClick(empty.flasher), RunEnding::Declined);
    EXPECT_EQ(empty.Frames(), Concat(kIdentified, kResets));
  }
}

TEST(WriteButton, WithNothingToWriteNoBlocksCompleteAtOnceAndNoChunksOnlyErase) {
  // A firmware whose records wrote nothing (an end-of-file record alone) fits any device.
  FlasherHarness none(SmallDevice(2, 4, 0));
  EXPECT_EQ(ButtonWriteClick(none.flasher), RunEnding::Completed);
  EXPECT_EQ(none.surface.status, "Мікропрограма : успішно завантажена в 12:34:56");
  EXPECT_EQ(none.Frames(), Concat(kIdentified, kResets));

  FlasherHarness empty_blocks(SmallDevice(0, 4, 3));
  EXPECT_EQ(ButtonWriteClick(empty_blocks.flasher), RunEnding::Completed);
  EXPECT_EQ(empty_blocks.Frames(),
            Concat(kIdentified, {"w0400000004;", "w0400000004;", "w0400000004;", "w0101;", "w0101;"}));
}

TEST(WriteButton, WithoutACompleteImageNothingIsSentAtAll) {
  FlasherHarness h(SmallDevice());
  h.state.ImageComplete = false;
  EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Declined);
  EXPECT_EQ(h.surface.messages, std::vector<std::string>{"Мікропрограму не підготовлено до запису!\r\n"
                                                         "Відкрийте мікропрограму з розширенням - HEX"});
  EXPECT_EQ(h.surface.beeps, std::vector<unsigned>{MB_ICONHAND});
  EXPECT_TRUE(h.Frames().empty());
  EXPECT_FALSE(h.port.Connected());
}

TEST(WriteButton, AMemoryBeyondTheSixDigitAddressIsRefusedBeforeAnyErase) {
  FlasherHarness h(SmallDevice(255, 255, 259));  // 16,841,475 bytes
  EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Declined);
  EXPECT_EQ(h.surface.messages,
            std::vector<std::string>{"Пам'ять приладу (16841475 байт) перевищує 16 МБ, які може адресувати "
                                     "завантажувач.\r\nЗапис неможливий!"});
  EXPECT_EQ(h.Frames(), Concat(kIdentified, kResets));
  EXPECT_FALSE(h.port.Connected());
  EXPECT_TRUE(h.surface.ActsStartingWith("disable").empty());
}

}  // namespace
}  // namespace zorvan::testing
