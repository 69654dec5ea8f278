// The operator's stop and reset commands against a simulated device, the stop given
// from inside a run as the window's key handler would give it.

#include <gtest/gtest.h>

#include "protocol/programming_run.h"
#include "protocol/reset_command.h"
#include "protocol/stop_command.h"
#include "tests/support/flasher_harness.h"

namespace zorvan::testing {
namespace {

const std::string kStopped = std::string(19, ' ') + "Зупинено користувачем!\r\n" + std::string(9, ' ') +
                             "Мікропрограма записана частково!\r\n"
                             "Необхідно повторно вибрати файл прошивки,\r\n" +
                             std::string(4, ' ') + "і провести запис, інакще в подальшому\r\n" +
                             std::string(13, ' ') + "прилад буде не працездатний!";

// Gives the stop command at the first point where `when` holds, once.
void StopWhen(FlasherHarness& h, std::function<bool()> when) {
  h.surface.on_process_messages = [&h, when, given = false]() mutable {
    if (!given && when()) given = StopCommand(h.state, h.surface);
  };
}

TEST(StopCommand, DoesNothingWhileTheGaugeIsEmpty) {
  RecordingSurface surface;
  FlasherState state;
  EXPECT_FALSE(StopCommand(state, surface));
  EXPECT_EQ(state.StopFlag, 0);
  EXPECT_TRUE(surface.acts.empty());
}

TEST(StopCommand, GivenDuringIdentificationItIsForgottenWhenProgrammingBegins) {
  FlasherHarness h(SmallDevice());
  StopWhen(h, [] { return true; });  // the one message point of identification
  EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Completed);
  EXPECT_EQ(h.surface.messages.at(0), kStopped);
  EXPECT_EQ(h.FlashDigits(), h.state.ImageText);
}

TEST(StopCommand, CannotStopTheFirstBlockAndEndsTheRunAtTheNextBlock) {
  FlasherHarness h(SmallDevice());
  StopWhen(h, [&] { return h.surface.status == "Йде запис! Заборонено переривати!"; });
  EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Stopped);
  EXPECT_EQ(h.surface.messages, std::vector<std::string>{kStopped});
  EXPECT_EQ(h.state.StopFlag, -1);
  EXPECT_EQ(h.surface.status, "Зупинено користувачем");
  for (const auto& [control, on] : h.surface.enabled) EXPECT_TRUE(on) << ControlName(control);
  EXPECT_EQ(h.surface.gauge.Progress(), 1);
  EXPECT_TRUE(h.port.Connected());
  EXPECT_EQ(h.FramesOf("04").size(), 1u);  // the whole first block, nothing of the second
  EXPECT_EQ(h.FramesOf("06").size(), 2u);
  EXPECT_EQ(h.Frames().back(), "w0606;");
}

TEST(StopCommand, WhileEveryAttemptSucceedsTheCurrentBlockIsFinishedFirst) {
  FlasherHarness h(SmallDevice());
  StopWhen(h, [&] { return h.surface.GaugeProgress() == 1 && h.surface.chunk_position == 1; });
  EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Stopped);
  EXPECT_EQ(h.FramesOf("04").size(), 2u);
  EXPECT_EQ(h.FramesOf("06").size(), 4u);
  EXPECT_EQ(h.Frames().back(), "w0606;");
}

TEST(StopCommand, AFailedAttemptAfterTheRequestEndsTheRunAtOnce) {
  // Command 11 is the second write of block 2; the stop comes just before it.
  sim::LoaderConfig c = SmallDevice();
  c.faults.AddScripted("cut@11");
  FlasherHarness h(c);
  StopWhen(h, [&] { return h.surface.GaugeProgress() == 1 && h.surface.chunk_position == 1; });
  EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Stopped);
  EXPECT_EQ(h.Frames().size(), 11u);
  EXPECT_EQ(h.Frames().back().substr(0, 5), "w0502");
  EXPECT_EQ(h.surface.calibration, "Автокалібровка: 0.1.0");
}

TEST(StopCommand, DuringTheLastBlockTheRunStillCompletes) {
  FlasherHarness h(SmallDevice());
  StopWhen(h, [&] { return h.surface.GaugeProgress() == 2 && h.surface.chunk_position == 1; });
  EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Completed);
  ASSERT_EQ(h.surface.messages.size(), 2u);
  EXPECT_EQ(h.surface.messages[0], kStopped);
  EXPECT_EQ(h.surface.status, "Мікропрограма : успішно завантажена в 12:34:56");
  EXPECT_EQ(h.FlashDigits(), h.state.ImageText);
}

TEST(ResetDevice, SendsTwoResetsBeepsAndClosesWhateverTheDeviceAnswers) {
  FlasherHarness h(SmallDevice());
  ResetDevice(h.flasher);
  EXPECT_EQ(h.state.ReplyText, "w8181;");
  EXPECT_EQ(h.surface.beeps, std::vector<unsigned>{MB_ICONEXCLAMATION});
  EXPECT_EQ(h.surface.messages, std::vector<std::string>{"Скинуто прилад!!!"});
  EXPECT_FALSE(h.port.Connected());
  EXPECT_EQ(h.Frames(), (std::vector<std::string>{"w0101;", "w0101;"}));

  sim::LoaderConfig c = SmallDevice();
  c.faults.silent_after = 0;
  FlasherHarness silent(c);
  ResetDevice(silent.flasher);
  EXPECT_EQ(silent.state.ReplyText, "");
  EXPECT_EQ(silent.surface.messages, std::vector<std::string>{"Скинуто прилад!!!"});
}

}  // namespace
}  // namespace zorvan::testing
