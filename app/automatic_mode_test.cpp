// The window's automatic mode on the production line, through the form logic: the cycle
// of looking, programming and waiting for the device to go, as the operator at the bench
// meets it, and the engineering view's question before a device the gate refuses.

#include "app/automatic_mode.h"

#include <gtest/gtest.h>

#include "tests/support/form_harness.h"
#include "serial/ecomport.h"

namespace zorvan::app::testing {
namespace {

using Strings = std::vector<std::string>;

constexpr ShiftState kCtrlShift = Modifier::Ctrl | Modifier::Shift;
constexpr char kFirstErase[] = "w0400000004;";
// Message points after which a test that has gone wrong ends the mode rather than hang.
constexpr int kGiveUp = 1000000;

bool Shows(const Forms& w, const char* phase) { return w.Status().rfind(phase, 0) == 0; }

Strings MemoLines(const Forms& w) {
  Strings lines;
  const std::string& memo = w.main_view[MainControl::MemoAbout].text;
  for (size_t start = 0; start < memo.size();) {
    const size_t end = std::min(memo.find("\r\n", start), memo.size());
    lines.push_back(memo.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The time the window has paused so far.
unsigned PausedFor(const RecordingDesktop& desktop) {
  unsigned total = 0;
  for (unsigned ms : desktop.sleeps) total += ms;
  return total;
}

// One bench, four devices on one port: the first passes and stays a while, the second's
// line goes dead in the middle of its run, the third holds a newer version, the fourth
// this one. Each is programmed at most once, and only the first two at all.
TEST(AutomaticMode, ProgramsEachNewDeviceOnceAndCountsWhatBefellIt) {
  Forms w;
  LoaderStandIn& device = *w.port;
  w.Press(kKeyE, kCtrlShift);
  w.desktop.Clear();
  int step = 0;
  int writes = 0;
  int erases_before_removal = -1;
  std::string controls_while_waiting;
  std::vector<unsigned> looks_at_passed_device;  // when each began, in paused time
  std::string previous_frame;
  device.on_write = [&](const std::string& frame) {
    if (frame == "wwwww" && previous_frame != "wwwww" && step == 0 && Shows(w, kAutoPassed)) {
      looks_at_passed_device.push_back(PausedFor(w.desktop));
    }
    previous_frame = frame;
    if (step == 2 && frame.rfind("w05", 0) == 0 && ++writes == 3) device.answers = false;
  };
  w.main_view.on_process_messages = [&] {
    if (w.main_view.processed > kGiveUp) w.form->ButtonWriteClick();
    switch (step) {
      case 0:
        if (controls_while_waiting.empty() && Shows(w, kAutoWaiting)) controls_while_waiting = w.EnabledControls();
        // Taken away after four looks at it (two resets each, after the run's own two).
        if (Shows(w, kAutoPassed) && device.Count("w0101;") >= 2 + 2 * 4) {
          erases_before_removal = device.Count(kFirstErase);
          device.answers = false;
          step = 1;
        }
        break;
      case 1:
        if (Shows(w, kAutoWaiting)) {
          device.answers = true;  // the next device, with the older firmware
          device.description = "250101";
          step = 2;
        }
        break;
      case 2:
        if (Shows(w, kAutoFailed)) step = 3;  // its line stays dead: it has gone
        break;
      case 3:
        if (Shows(w, kAutoWaiting)) {
          device.answers = true;
          device.description = "260314";
          step = 4;
        }
        break;
      case 4:
        if (Shows(w, kAutoRefused)) {
          device.answers = false;
          step = 5;
        }
        break;
      case 5:
        if (Shows(w, kAutoWaiting)) {
          device.answers = true;
          device.description = "260313";
          step = 6;
        }
        break;
      case 6:
        if (Shows(w, kAutoAlreadyProgrammed)) {
          step = 7;
          w.form->ButtonWriteClick();  // the write button ends the mode
        }
        break;
    }
  };
  w.Press(kKeyA, kCtrlShift);

  EXPECT_EQ(step, 7) << w.Status();
  EXPECT_EQ(controls_while_waiting, "10000");  // only the write button, which ends the mode
  EXPECT_EQ(erases_before_removal, 1);
  EXPECT_EQ(device.Count(kFirstErase), 2);
  // At once after the run, to learn what the device reports now, then less and less often.
  // Each interval is the look's own pauses and the quiet after it, which doubles.
  ASSERT_EQ(looks_at_passed_device.size(), 4u);
  std::vector<unsigned> intervals;
  for (size_t i = 1; i < looks_at_passed_device.size(); ++i) {
    intervals.push_back(looks_at_passed_device[i] - looks_at_passed_device[i - 1]);
  }
  EXPECT_GE(intervals[0], kLookInterval);
  EXPECT_EQ(intervals[1] - intervals[0], kLookInterval);
  EXPECT_EQ(intervals[2] - intervals[1], 2 * kLookInterval);
  EXPECT_EQ(MemoLines(w), (Strings{"12:34:56  250101  Мікропрограма успішно завантажена в 12:34:56  (0:00)",
                                   "12:34:56  250101  Помилка запису - 000008  (0:00)",
                                   "12:34:56  260314  В прилад вже записана новіша версія!  (0:00)"}));
  EXPECT_EQ(w.Status(), "Вимкнено. Прошито 1, збоїв 1, відмов 1, 0:00/прилад");
  EXPECT_TRUE(w.desktop.boxes.empty());  // nothing stopped the line to be clicked away
  EXPECT_EQ(w.EnabledControls(), "11111");
  EXPECT_FALSE(device.is_open);
  EXPECT_FALSE(w.form->Busy());
}

// An adapter unplugged with its device takes the port away; whatever answers once it is
// back is a new device. A run that ends with a port error releases the port at once, and
// the failed device is kept until its port goes.
TEST(AutomaticMode, APortThatGoesAndComesBackBringsANewDevice) {
  Forms w;
  LoaderStandIn& device = *w.port;
  bool present = true;
  bool seen_gone = false;  // the mode has asked for the port while it was gone
  w.desktop.port_present = [&](const std::string& port) {
    seen_gone = seen_gone || !present;
    return present && port == "/dev/ttyS0";
  };
  w.Press(kKeyE, kCtrlShift);
  int step = 0;
  bool port_fails = false;
  bool open_when_failed = true;
  device.on_write = [&](const std::string& frame) {
    if (port_fails && frame.rfind("w05", 0) == 0) {
      port_fails = false;
      throw EComPort(com_text::kWriteFailed);
    }
  };
  // The adapter comes back with a fresh device on it.
  const auto plug_in = [&] {
    present = true;
    device.description = "250101";
    ++step;
  };
  w.main_view.on_process_messages = [&] {
    if (w.main_view.processed > kGiveUp) w.form->ButtonWriteClick();
    const bool passed = Shows(w, kAutoPassed);
    if ((step == 0 || step == 2) && passed) {
      port_fails = step == 2;
      present = false;
      ++step;
    } else if ((step == 1 || step == 3) && Shows(w, kAutoPortMissing)) {
      plug_in();
    } else if (step == 5 && seen_gone) {
      // The device failed as its port went: the label keeps the failure meanwhile.
      EXPECT_TRUE(Shows(w, kAutoFailed)) << w.Status();
      plug_in();
    } else if (step == 4 && Shows(w, kAutoFailed)) {
      open_when_failed = device.is_open;
      present = false;
      seen_gone = false;
      step = 5;
    } else if (step == 6 && passed) {
      step = 7;
      w.Press(kKeyA, kCtrlShift);  // the key ends the mode as it began it
    }
  };
  w.Press(kKeyA, kCtrlShift);

  EXPECT_EQ(step, 7) << w.Status();
  EXPECT_FALSE(open_when_failed);
  EXPECT_EQ(device.Count(kFirstErase), 4);
  const Strings lines = MemoLines(w);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2].rfind("12:34:56  250101  Помилка запису в порт.", 0), 0u) << lines[2];
  EXPECT_EQ(w.Status(), "Вимкнено. Прошито 3, збоїв 1, відмов 0, 0:00/прилад");
  EXPECT_TRUE(w.desktop.boxes.empty());
}

// The write button, Ctrl+Shift+A or closing the window while the mode looks at the port:
// handled at the look's next slice, the look cut short and the port released, and no run
// begins. Every wait of a look lets the messages through at least every kAttentionSlice.
TEST(AutomaticMode, AnEndAskedForDuringALookIsHonouredAtOnce) {
  for (bool device_there : {false, true}) {
    SCOPED_TRACE(device_there ? "a fresh device" : "an empty port");
    Forms w;
    LoaderStandIn& device = *w.port;
    device.answers = device_there;
    w.Press(kKeyE, kCtrlShift);
    unsigned paused_since_messages = 0;
    unsigned longest_without_messages = 0;
    w.desktop.on_sleep = [&](unsigned ms) {
      paused_since_messages += ms;
      longest_without_messages = std::max(longest_without_messages, paused_since_messages);
    };
    size_t frames_when_ended = 0;
    w.main_view.on_process_messages = [&] {
      paused_since_messages = 0;
      if (w.main_view.processed > kGiveUp) w.form->ButtonWriteClick();
      // The third look at an empty port, or the first at the device, in its wake-up.
      if (frames_when_ended == 0 && device.Count("wwwww") >= (device_there ? 2 : 11)) {
        frames_when_ended = device.written.size();
        w.form->ButtonWriteClick();
      }
    };
    w.Press(kKeyA, kCtrlShift);

    EXPECT_EQ(w.Status(), "Вимкнено. Прошито 0, збоїв 0, відмов 0");
    ASSERT_GT(frames_when_ended, 0u);
    const Strings after(device.written.begin() + static_cast<ptrdiff_t>(frames_when_ended), device.written.end());
    // Only the resets that send a device the look may have woken back to its firmware.
    EXPECT_EQ(after, (Strings{"w0101;", "w0101;"}));
    EXPECT_EQ(device.Count(kFirstErase), 0);
    EXPECT_FALSE(device.is_open);
    EXPECT_LE(longest_without_messages, kAttentionSlice);
    // An empty port is asked once a look: two looks had ended.
    if (!device_there) {
      EXPECT_EQ(device.Count("w0202;"), 2);
    }
  }
}

TEST(AutomaticMode, IsTheEngineeringViewsAndTheOperatorsStopEndsIt) {
  Forms w;
  w.Press(kKeyA, kCtrlShift);
  EXPECT_TRUE(w.port->written.empty());  // the operator's view keeps its one button
  EXPECT_EQ(w.Status(), "Мікропрограма готова до запису");

  w.Press(kKeyE, kCtrlShift);
  w.port->geometry = "02040010";  // 16 blocks: the stop can act from the second on
  bool stopped = false;
  w.main_view.on_process_messages = [&] {
    if (w.main_view.processed > kGiveUp) w.form->ButtonWriteClick();
    // In the run's second block: before it the stop has nothing to act on.
    if (!stopped && w.port->Count(kFirstErase) > 0 && w.form->GaugeProgress() > 0) {
      stopped = true;
      w.Press(kKeyDelete, Modifier::Ctrl);
    }
  };
  w.Press(kKeyA, kCtrlShift);
  EXPECT_TRUE(stopped);
  EXPECT_EQ(MemoLines(w), Strings{"12:34:56  250101  Зупинено користувачем  (0:00)"});
  EXPECT_EQ(w.Status(), "Вимкнено. Прошито 0, збоїв 1, відмов 0, 0:00/прилад");
  EXPECT_EQ(w.EnabledControls(), "11111");
}

// In the engineering view a service engineer may write a device the gate refuses; a newer
// version asks twice. Every box defaults to No.
TEST(WriteAnyway, TheEngineeringViewAsksBeforeWritingADeviceTheGateRefuses) {
  struct Row {
    const char* description;
    std::deque<bool> answers;
    size_t questions;
    bool written;
  };
  const Row rows[] = {
      {"260313", {true}, 1, true},        {"260313", {}, 1, false},
      {"", {true}, 1, true},              {"25O101", {true}, 1, true},  // a letter O: no number
      {"260314", {true}, 2, false},       {"260314", {true, true}, 2, true},
  };
  for (const Row& row : rows) {
    Forms w;
    w.Press(kKeyE, kCtrlShift);
    w.port->description = row.description;
    w.desktop.Clear();
    w.desktop.yes_no_answers = row.answers;
    w.form->ButtonWriteClick();
    SCOPED_TRACE(row.description);
    ASSERT_EQ(w.desktop.questions.size(), row.questions);
    EXPECT_EQ(w.port->Count(kFirstErase), row.written ? 1 : 0);
    if (row.written) {
      EXPECT_EQ(w.Status(), "Мікропрограма : успішно завантажена в 12:34:56");
    }
  }

  Forms same;
  same.Press(kKeyE, kCtrlShift);
  same.port->description = "260313";
  same.desktop.Clear();
  same.form->ButtonWriteClick();
  EXPECT_EQ(same.desktop.questions,
            Strings{"Дана версія вже записана в прилад!\r\nЗаписати мікропрограму в прилад все одно?"});
  EXPECT_EQ(same.desktop.Messages(), Strings{"Дана версія вже записана в прилад!"});  // then refused as ever
}

TEST(WriteAnyway, TheOperatorsViewNeverAsks) {
  for (const char* description : {"260313", "", "260314"}) {
    Forms w;
    w.port->description = description;
    w.desktop.Clear();
    w.desktop.yes_no_answers = {true, true};
    w.form->ButtonWriteClick();
    EXPECT_TRUE(w.desktop.questions.empty()) << description;
    EXPECT_EQ(w.port->Count(kFirstErase), 0) << description;
    EXPECT_EQ(w.desktop.Messages().size(), 1u) << description;
  }
}

}  // namespace
}  // namespace zorvan::app::testing
