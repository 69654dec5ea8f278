// Opening a HEX file: the dialog, the rebuilt image, and what a refused file leaves.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "tests/support/form_harness.h"
#include "app/utf8_path.h"
#include "common/operator_surface.h"

namespace zorvan::app::testing {
namespace {

using Strings = std::vector<std::string>;

const std::string kLowerCaseHex = ":0400000043ef01f0d9\r\n:00000001ff\r\n";
const std::string kThirdLineBroken = ":020000040000FA\n:0400000043EF01F0D9\n:0400040043EF01F0D6\n:00000001FF\n";

class OpenHex : public ::testing::Test {
 protected:
  // A folder with a Cyrillic name, as operators' folders often have.
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("zorvan-open-" + std::to_string(reinterpret_cast<uintptr_t>(this))) / PathFromUtf8("Прошивки");
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_.parent_path()); }

  // The file's path as the dialog gives it.
  std::string Write(const char* name, const std::string& content) {
    std::ofstream(dir_ / name, std::ios::binary) << content;
    return Path(name);
  }
  std::string Path(const char* name) const { return Utf8FromPath(dir_ / name); }

  std::filesystem::path dir_;
  Forms w;
};

TEST_F(OpenHex, CancellingChangesNothing) {
  w.desktop.Clear();
  const std::string image_start = w.form->State().ImageText.substr(0, 64);
  w.form->SetGaugeProgress(7);
  w.form->ButtonOpenHexClick();
  EXPECT_EQ(w.desktop.dialog_filters, Strings{"Файли: I8HEX, I16HEX, I32HEX|*.hex"});
  EXPECT_TRUE(w.desktop.boxes.empty());
  EXPECT_TRUE(w.desktop.beeps.empty());
  EXPECT_EQ(w.Status(), "Мікропрограма готова до запису");
  EXPECT_EQ(w.form->GaugeProgress(), 7);
  EXPECT_EQ(w.form->FirmwareText().LineCount(), 4715u);
  EXPECT_EQ(w.form->State().ImageText.substr(0, 64), image_start);
  EXPECT_EQ(w.form->LastHexFileName(), "");
}

// The text is upper-cased before its checks and the memo keeps it so; the label names
// the file without its folder.
TEST_F(OpenHex, OpensAFileWithLowerCaseDigits) {
  w.SetEnabledControls("01111");
  w.desktop.Clear();
  w.desktop.dialog_answers.push_back(Write("fw.hex", kLowerCaseHex));
  w.form->ButtonOpenHexClick();
  EXPECT_EQ(w.Status(), "Мікропрограма : fw.hex - відкрита. Запишіть в прилад");
  EXPECT_EQ(w.desktop.Messages(), Strings{"Мікропрограма відкрита,\r\n   запишіть її в прилад"});
  EXPECT_EQ(w.desktop.beeps, std::vector<unsigned>{MB_ICONASTERISK});
  EXPECT_EQ(w.EnabledControls(), "11111");
  EXPECT_EQ(w.main_view[MainControl::TextTerminal].text, ":0400000043EF01F0D9\r\n:00000001FF");
  EXPECT_EQ(w.form->State().ImageText.substr(0, 16), "43EF01F0FFFFFFFF");
  EXPECT_EQ(w.form->State().ImageText.size(), 40'000'000u);
  EXPECT_EQ(w.form->GaugeProgress(), 0);
  EXPECT_EQ(w.form->LastHexFileName(), "fw.hex");
  EXPECT_EQ(w.form->OpenDialogFileName(), Path("fw.hex"));

  w.desktop.Clear();
  w.desktop.dialog_answers.push_back(Path("fw.hex"));
  w.form->ButtonOpenHexClick();
  EXPECT_EQ(w.desktop.Messages().size(), 1u);  // opened again, said again
}

// Editors on Windows often begin a file with a UTF-8 byte-order mark; the first record
// is read all the same.
TEST_F(OpenHex, OpensAFileThatBeginsWithAByteOrderMark) {
  w.desktop.Clear();
  w.desktop.dialog_answers.push_back(Write("bom.hex", "\xEF\xBB\xBF" + kLowerCaseHex));
  w.form->ButtonOpenHexClick();
  EXPECT_EQ(w.desktop.Messages(), Strings{"Мікропрограма відкрита,\r\n   запишіть її в прилад"});
  EXPECT_EQ(w.form->State().ImageText.substr(0, 8), "43EF01F0");
}

// A refused line leaves the earlier image, the label and the write button as they were;
// the memo holds the new text.
TEST_F(OpenHex, RefusesALineWithAWrongChecksum) {
  w.SetEnabledControls("01111");
  const std::string image_start = w.form->State().ImageText.substr(0, 64);
  w.desktop.Clear();
  w.desktop.dialog_answers.push_back(Write("broken.hex", kThirdLineBroken));
  w.form->ButtonOpenHexClick();
  EXPECT_EQ(w.desktop.Messages(), Strings{"Помилка контрольної суми у строці мікропрограми: 3! (:0400040043EF01F0D6)"});
  EXPECT_EQ(w.desktop.beeps, std::vector<unsigned>{MB_ICONHAND});
  EXPECT_EQ(w.EnabledControls(), "01111");
  EXPECT_EQ(w.Status(), "Мікропрограма готова до запису");
  EXPECT_EQ(w.form->State().ImageText.substr(0, 64), image_start);
  EXPECT_TRUE(w.form->State().ImageComplete);
  EXPECT_EQ(w.form->FirmwareText().LineCount(), 4u);
  EXPECT_EQ(w.form->GaugeProgress(), 0);
}

// A file that is not Intel HEX (an error page saved as firmware.hex, a raw binary) is
// refused with the HEX texts' beep and a box that names it; the image, the label, the
// write button and the memo stay as they were.
TEST_F(OpenHex, RefusesAFileThatIsNotIntelHex) {
  w.SetEnabledControls("01111");
  const std::string image_start = w.form->State().ImageText.substr(0, 64);
  const std::string binary("\x7F" "ELF\x02\x01\x01\x00:0400000043EF01F0D9\n", 27);
  for (const auto& [name, content, message] :
       {std::tuple{"firmware.hex", std::string("<html><body>404 Not Found</body></html>\n"),
                   "Файл firmware.hex не містить записів Intel HEX!"},
        std::tuple{"fw.bin", binary, "Файл fw.bin двійковий, а не текст Intel HEX!"}}) {
    SCOPED_TRACE(name);
    w.desktop.Clear();
    w.desktop.dialog_answers.push_back(Write(name, content));
    w.form->ButtonOpenHexClick();
    EXPECT_EQ(w.desktop.Messages(), Strings{message});
    EXPECT_EQ(w.desktop.beeps, std::vector<unsigned>{MB_ICONHAND});
    EXPECT_EQ(w.EnabledControls(), "01111");
    EXPECT_EQ(w.Status(), "Мікропрограма готова до запису");
    EXPECT_EQ(w.form->State().ImageText.substr(0, 64), image_start);
    EXPECT_EQ(w.form->FirmwareText().LineCount(), 4715u);
  }
}

TEST_F(OpenHex, ShowsWhyAFileCannotBeRead) {
  w.desktop.Clear();
  w.desktop.dialog_answers.push_back(Path("gone.hex"));
  w.form->ButtonOpenHexClick();
  EXPECT_EQ(w.desktop.Errors(), Strings{"Cannot open file \"" + Path("gone.hex") + "\". No such file or directory."});
  EXPECT_EQ(w.form->FirmwareText().LineCount(), 4715u);
  EXPECT_EQ(w.Status(), "Мікропрограма готова до запису");
  EXPECT_EQ(w.form->LastHexFileName(), "gone.hex");
}

// The gauge refuses the maximum of a text without lines.
TEST_F(OpenHex, RefusesAnEmptyFileThroughTheGauge) {
  w.desktop.Clear();
  w.desktop.dialog_answers.push_back(Write("empty.hex", ""));
  w.form->ButtonOpenHexClick();
  EXPECT_EQ(w.desktop.Errors(), Strings{"Value must be between 1 and 2147483647."});
  EXPECT_EQ(w.form->FirmwareText().LineCount(), 0u);
  EXPECT_EQ(w.main_view[MainControl::TextTerminal].text, "");
  EXPECT_TRUE(w.form->State().ImageComplete);
  EXPECT_EQ(w.Status(), "Мікропрограма готова до запису");
}

}  // namespace
}  // namespace zorvan::app::testing
