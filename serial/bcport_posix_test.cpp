// The port on pseudo-terminals: opening, settings reaching the device, exclusive access,
// and the failures of opening and closing.

#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "serial/bcport.h"
#include "serial/termios_settings_posix.h"
#include "tests/support/pty_pair.h"

namespace zorvan {
namespace {

using testing::OpenDescriptorCount;
using testing::PtyPair;

// The settings the terminal holds now, read through a descriptor of the test's own.
termios2 DeviceSettings(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  termios2 t{};
  EXPECT_EQ(ioctl(fd, TCGETS2, &t), 0);
  close(fd);
  return t;
}

// The message Open raised, or "" when it succeeded.
std::string OpenFailure(TBComPort& port) {
  try {
    port.Open();
    return "";
  } catch (const EComPort& e) {
    return e.Message();
  }
}

// Runs `body` in a child process that takes `uid`, and expects it to exit with 0.
template <typename Body>
void InChildAs(uid_t uid, Body body) {
  EXPECT_EXIT(
      {
        if (uid != geteuid() && (setgroups(0, nullptr) != 0 || setgid(uid) != 0 || setuid(uid) != 0)) _exit(10);
        _exit(body());
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(TBComPortOnPty, OpensByPathAndClosesOnce) {
  PtyPair pty;
  const int descriptors = OpenDescriptorCount();
  TBComPort port;
  port.SetPort(pty.SlavePath());
  EXPECT_TRUE(port.Open());
  EXPECT_TRUE(port.Connected());
  const int while_open = OpenDescriptorCount();  // the device, and the event watch's own
  EXPECT_GT(while_open, descriptors);
  EXPECT_TRUE(port.Open());  // already open: no second handle
  EXPECT_EQ(OpenDescriptorCount(), while_open);
  EXPECT_TRUE(port.Close());
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(OpenDescriptorCount(), descriptors);
  EXPECT_TRUE(port.Close());

  // A name with a "/" in it is a path as it stands: "pts/N" is not /dev/pts/N.
  port.SetPort(pty.SlavePath().substr(5));
  EXPECT_EQ(OpenFailure(port), "Спроба відкрити неіснуючий СОМ-порт");
}

// A name with a "/" is a path as it stands, a link in the current folder included; a bare
// name is looked up among the devices only, and what it names in the current folder is
// said, since only "./name" reaches it.
TEST(TBComPortOnPty, APathIsTakenAsItStandsAndABareNameIsADevice) {
  PtyPair pty;
  const std::string link = "zorvan-port-link-" + std::to_string(getpid());
  ASSERT_EQ(symlink(pty.SlavePath().c_str(), link.c_str()), 0);
  TBComPort port;
  port.SetPort("./" + link);
  EXPECT_EQ(OpenFailure(port), "");
  EXPECT_TRUE(port.Close());
  EXPECT_EQ(PortIdentity("./" + link), pty.SlavePath());

  port.SetPort(link);
  EXPECT_EQ(OpenFailure(port), "Спроба відкрити неіснуючий СОМ-порт");
  const PortDiagnosis bare = DiagnosePort(link);
  EXPECT_EQ(bare.kind, PortDiagnosis::Missing);
  EXPECT_EQ(bare.path, "/dev/" + link);
  EXPECT_TRUE(bare.in_current_folder);
  unlink(link.c_str());

  EXPECT_EQ(DiagnosePort("/tmp").kind, PortDiagnosis::Folder);
  EXPECT_EQ(PortAccessHint("/tmp"), "/tmp is a folder, not a serial port.");
  EXPECT_EQ(DiagnosePort("null").path, "/dev/null");
  EXPECT_EQ(DiagnosePort("null").kind, PortDiagnosis::NotADevice);
  EXPECT_EQ(DiagnosePort(pty.SlavePath()).kind, PortDiagnosis::Device);
  EXPECT_FALSE(DiagnosePort("zorvan-no-such-port").in_current_folder);
}

// An adapter's stable name is a bare name too: found under /dev/serial/by-id when /dev
// has nothing of that name.
TEST(TBComPortOnPty, ABareNameIsAlsoLookedUpAmongTheStableNames) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to add a stable name under /dev/serial/by-id";
  PtyPair pty;
  const std::filesystem::path folder = "/dev/serial/by-id";
  std::error_code ec;
  const bool made_serial = std::filesystem::create_directory("/dev/serial", ec);
  const bool made_by_id = std::filesystem::create_directory(folder, ec);
  const std::string name = "usb-Zorvan_Test_Adapter_" + std::to_string(getpid()) + "-if00-port0";
  std::filesystem::create_symlink(pty.SlavePath(), folder / name, ec);
  ASSERT_FALSE(ec) << ec.message();
  TBComPort port;
  port.SetPort(name);
  EXPECT_EQ(OpenFailure(port), "");
  EXPECT_TRUE(port.Close());
  EXPECT_EQ(DiagnosePort(name).path, (folder / name).string());
  EXPECT_EQ(PortIdentity(name), pty.SlavePath());
  std::filesystem::remove(folder / name);
  if (made_by_id) std::filesystem::remove(folder, ec);
  if (made_serial) std::filesystem::remove("/dev/serial", ec);
}

TEST(TBComPortOnPty, SettingsReachTheDeviceOnOpenAndAtOnceWhileOpen) {
  PtyPair pty;
  TBComPort port;
  port.SetPort(pty.SlavePath());
  port.SetBaudRate(br256000);
  port.SetByteSize(bs7);
  port.SetParity(paEven);
  port.SetStopBits(sb2);
  ASSERT_TRUE(port.Open());
  termios2 t = DeviceSettings(pty.SlavePath());
  EXPECT_EQ(t.c_ospeed, 256000u);
  // A pseudo-terminal forces eight bits without parity; the stop bits and the raw mode
  // show what was asked for.
  EXPECT_EQ(t.c_cflag & CSTOPB, tcflag_t{CSTOPB});
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);

  for (int rate = br110; rate <= br256000; ++rate) {
    port.SetBaudRate(static_cast<TBaudRate>(rate));
    EXPECT_EQ(DeviceSettings(pty.SlavePath()).c_ospeed, BaudRateValues[rate]);
  }
  port.SetStopBits(sb1);
  EXPECT_EQ(DeviceSettings(pty.SlavePath()).c_cflag & CSTOPB, 0u);
  port.Close();

  port.SetBaudRate(br14400);  // stored only, until the next Open
  EXPECT_EQ(DeviceSettings(pty.SlavePath()).c_ospeed, 256000u);
  ASSERT_TRUE(port.Open());
  EXPECT_EQ(DeviceSettings(pty.SlavePath()).c_ospeed, 14400u);
}

TEST(TBComPortOnPty, PortAndSyncMethodAreRefusedWhileOpen) {
  PtyPair pty;
  TBComPort port;
  port.SetPort(pty.SlavePath());
  ASSERT_TRUE(port.Open());
  try {
    port.SetPort(pty.SlavePath());
    ADD_FAILURE() << "setting Port while open was not refused";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Message(), "Неможна змінювати властивості, доки порт відкритий");
  }
  EXPECT_EQ(port.Port(), pty.SlavePath());
  port.SetSyncMethod(smThreadSync);  // unchanged: no refusal
  EXPECT_THROW(port.SetSyncMethod(smNone), EComPort);
  EXPECT_EQ(port.SyncMethod(), smThreadSync);
  // The rest are applied at once, and the port stays open.
  port.SetInBufSize(4097);
  port.Timeouts().SetReadTotalConstant(5);
  EXPECT_EQ(port.InBufSize(), 4096);
  EXPECT_TRUE(port.Connected());
}

TEST(TBComPortOnPty, AMissingDeviceIsReportedAsSuch) {
  for (const char* name : {"/dev/ttyZORVAN-NONE", "ttyZORVAN-NONE", "", "COM2"}) {
    TBComPort port;
    port.SetPort(name);
    EXPECT_EQ(OpenFailure(port), "Спроба відкрити неіснуючий СОМ-порт") << name;
    EXPECT_FALSE(port.Connected());
  }
}

TEST(TBComPortOnPty, ADeviceThatIsNoTerminalFailsAtTheFirstSettingsStep) {
  const int descriptors = OpenDescriptorCount();
  TBComPort port;
  port.SetPort("/dev/null");
  EXPECT_EQ(OpenFailure(port), "Помилка функції SetupComm\nНеобхідно повторно відкрити програму!");
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(OpenDescriptorCount(), descriptors);
}

TEST(TBComPortOnPty, ARateWithNoEntryFailsInTheLineSettingsAndReleasesTheDevice) {
  PtyPair pty;
  const int descriptors = OpenDescriptorCount();
  TBComPort port;
  port.SetPort(pty.SlavePath());
  port.SetBaudRate(static_cast<TBaudRate>(15));
  EXPECT_EQ(OpenFailure(port), "Помилка функції SetCommState\nНеобхідно повторно відкрити програму!");
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(OpenDescriptorCount(), descriptors);
  port.SetBaudRate(br115200);
  EXPECT_TRUE(port.Open());
}

TEST(TBComPortOnPty, ASecondPortInTheSameProcessFindsItInUse) {
  PtyPair pty;
  TBComPort first, second;
  first.SetPort(pty.SlavePath());
  second.SetPort(pty.SlavePath());
  ASSERT_TRUE(first.Open());
  EXPECT_EQ(OpenFailure(second), "Порт зайнятий іншою програмою");
  EXPECT_FALSE(second.Connected());
  // The refused opener took nothing away from the holder.
  EXPECT_EQ(first.WriteStr("ok"), 2);
  EXPECT_EQ(pty.Read(2), "ok");
  first.Close();
  EXPECT_TRUE(second.Open());
}

TEST(TBComPortOnPty, AnotherProcessFindsItInUseEvenAsRoot) {
  PtyPair pty;
  TBComPort holder;
  holder.SetPort(pty.SlavePath());
  ASSERT_TRUE(holder.Open());
  InChildAs(geteuid(), [&] {
    TBComPort other;
    other.SetPort(pty.SlavePath());
    return OpenFailure(other) == "Порт зайнятий іншою програмою" && !other.Connected() ? 0 : 1;
  });
}

TEST(TBComPortOnPty, AnUnprivilegedOpenerIsTurnedAwayByTheExclusiveMode) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  PtyPair pty;
  ASSERT_EQ(chmod(pty.SlavePath().c_str(), 0666), 0);
  TBComPort holder;
  holder.SetPort(pty.SlavePath());
  ASSERT_TRUE(holder.Open());
  InChildAs(65534, [&] {
    // The terminal refuses the open itself (EBUSY) before any lock is asked for.
    const int fd = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0 || errno != EBUSY) return 2;
    TBComPort other;
    other.SetPort(pty.SlavePath());
    return OpenFailure(other) == "Порт зайнятий іншою програмою" ? 0 : 1;
  });
}

TEST(TBComPortOnPty, NoPermissionFailsAtTheFirstSettingsStepWithAHint) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  PtyPair pty;
  const group* dialout = getgrnam("dialout");
  if (dialout == nullptr) GTEST_SKIP() << "no dialout group";
  ASSERT_EQ(chown(pty.SlavePath().c_str(), 0, dialout->gr_gid), 0);
  ASSERT_EQ(chmod(pty.SlavePath().c_str(), 0660), 0);
  EXPECT_EQ(PortAccessHint(pty.SlavePath()), "");  // root may open it
  InChildAs(65534, [&] {
    TBComPort port;
    port.SetPort(pty.SlavePath());
    if (OpenFailure(port) != "Помилка функції SetupComm\nНеобхідно повторно відкрити програму!" ||
        port.Connected()) {
      return 1;
    }
    return PortAccessHint(pty.SlavePath()) ==
                   "No permission to open " + pty.SlavePath() +
                       ": add your user to the group 'dialout' (sudo usermod -aG dialout $USER), "
                       "then log in again."
               ? 0
               : 2;
  });
}

TEST(TBComPortOnPty, DestroyingAnOpenPortReleasesIt) {
  PtyPair pty;
  const int descriptors = OpenDescriptorCount();
  {
    TBComPort port;
    port.SetPort(pty.SlavePath());
    ASSERT_TRUE(port.Open());
  }
  EXPECT_EQ(OpenDescriptorCount(), descriptors);
  TBComPort again;
  again.SetPort(pty.SlavePath());
  EXPECT_TRUE(again.Open());
}

TEST(TBComPortOnPty, AClosedPortNeverReachesTheReleasedDevice) {
  PtyPair pty;
  TBComPort port;
  port.SetPort(pty.SlavePath());
  ASSERT_TRUE(port.Open());
  port.Close();
  std::string text = "old";
  try {
    port.ReadStr(text, 5);
    ADD_FAILURE() << "a read on a closed port went through";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Message(), "Помилка читання з порта\nНеобхідно повторно відкрити програму!");
  }
  try {
    port.WriteStr("abc");
    ADD_FAILURE() << "a write on a closed port went through";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Message(), "Помилка запису в порт.\nНеобхідно повторно відкрити програму!");
  }
}

TEST(TBComPortOnPty, CloseAfterAHangUpReleasesTheDeviceAndTheNextOpenStartsAfresh) {
  auto pty = std::make_unique<PtyPair>();
  const int descriptors = OpenDescriptorCount();
  TBComPort port;
  port.SetPort(pty->SlavePath());
  ASSERT_TRUE(port.Open());
  pty->CloseMaster();  // the adapter is pulled out: every line control fails from now on
  EXPECT_TRUE(port.Close());
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(OpenDescriptorCount(), descriptors - 1);  // the master is gone, the port released
  EXPECT_TRUE(port.Close());

  PtyPair plugged_back;
  port.SetPort(plugged_back.SlavePath());
  ASSERT_TRUE(port.Open());
  EXPECT_EQ(port.WriteStr("w0101;"), 6);
  EXPECT_EQ(plugged_back.Read(6), "w0101;");
}

}  // namespace
}  // namespace zorvan
