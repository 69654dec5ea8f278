// The command line's two languages: both catalogues complete, and the system's texts as
// the command line shows them.

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "firmware/hex_lines.h"
#include "firmware/hex_survey.h"
#include "serial/ecomport.h"
#include "cli/system_texts.h"
#include "cli/texts.h"

namespace zorvan::cli {
namespace {

bool HasCyrillic(const std::string& text) {
  // Cyrillic letters are U+0400 to U+04FF: UTF-8 lead bytes 0xD0 to 0xD3.
  for (unsigned char c : text) {
    if (c >= 0xD0 && c <= 0xD3) return true;
  }
  return false;
}

std::set<std::string> Placeholders(const std::string& text) {
  std::set<std::string> found;
  static const std::regex kPlaceholder(R"(\{[0-9]\})");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), kPlaceholder); it != std::sregex_iterator(); ++it) {
    found.insert(it->str());
  }
  return found;
}

// Every text in both languages, filling in the same things; English without a Cyrillic
// letter, Ukrainian with one wherever the two differ.
TEST(Catalogue, EveryTextHasBothLanguages) {
  for (const CatalogueEntry& e : Catalogue()) {
    SCOPED_TRACE(e.name);
    EXPECT_STRNE(e.uk, "");
    EXPECT_STRNE(e.en, "");
    EXPECT_FALSE(HasCyrillic(e.en));
    if (std::string(e.uk) != e.en) {
      EXPECT_TRUE(HasCyrillic(e.uk));
    }
    EXPECT_EQ(Placeholders(e.uk), Placeholders(e.en));
  }
  for (const SystemLine& l : SystemLines()) {
    SCOPED_TRACE(l.window);
    const std::string uk = l.uk ? l.uk : l.window;
    EXPECT_EQ(uk.empty(), std::string(l.en).empty()) << "a line left out is left out in both languages";
    if (uk.empty()) continue;
    EXPECT_FALSE(HasCyrillic(l.en));
    EXPECT_EQ(Placeholders(l.window), Placeholders(uk));
    EXPECT_EQ(Placeholders(l.window), Placeholders(l.en));
  }
}

class InLanguage : public ::testing::TestWithParam<Language> {
 protected:
  void SetUp() override { SetLanguage(GetParam()); }
  void TearDown() override { SetLanguage(Language::Ukrainian); }
  // The Ukrainian or the English of a pair, as the screen's language asks.
  static std::string Of(const char* uk, const char* en) { return GetParam() == Language::English ? en : uk; }
};

// The system's messages as a terminal shows them (TerminalLines has made them lines at
// the left margin): translated line by line, what they fill in kept, and the window's
// advice to reopen the program left out.
TEST_P(InLanguage, TheSystemsTextsAreShownInTheScreensLanguage) {
  EXPECT_EQ(CommandLineText("Визначино:\nНевідомий прилад/версія"),
            Of("Визначино:\nНевідомий прилад/версія", "Detected:\nUnknown device/version"));
  EXPECT_EQ(CommandLineText("Визначино:\n250101"), Of("Визначино:\n250101", "Detected:\n250101"));
  EXPECT_EQ(CommandLineText("\nПомилка запису - 000400"), Of("\nПомилка запису - 000400", "\nWrite failed - 000400"));
  EXPECT_EQ(CommandLineText("03 - невідома версія завантажувача мікроконтролера"),
            Of("03 - невідома версія завантажувача мікроконтролера",
               "03 - unknown version of the microcontroller's loader"));
  EXPECT_EQ(CommandLineText(com_text::kReadFailed), Of("Помилка читання з порта", "Error reading from the port"));
  EXPECT_EQ(CommandLineText(com_text::kSetupCommFailed),
            Of("Помилка функції SetupComm", "The function SetupComm failed"));
  EXPECT_EQ(CommandLineText("Робота приладу призупинена!\nВідкрийте мікропрограму з розширенням - HEX"),
            Of("Робота приладу призупинена!\n"
               "Прилад чекає в завантажувачі: zorvan-flash write записує його, zorvan-flash reset повертає до роботи.",
               "The device's work is paused!\n"
               "The device waits in its loader: zorvan-flash write programs it, zorvan-flash reset starts it again."));
  EXPECT_EQ(CommandLineText(NotIntelHexMessage(HexTextProblem::NoDataRecord, "./fw.bin")),
            Of("Файл ./fw.bin не містить записів Intel HEX!", "./fw.bin holds no Intel HEX records!"));
  EXPECT_EQ(CommandLineText("'26A313' is not a valid integer value"),
            Of("«26A313» — не ціле число", "'26A313' is not a valid integer value"));
  EXPECT_EQ(CommandLineText("a line of no one's"), "a line of no one's");
}

// A HEX line's failure says what is wrong with the line. A record line shorter than its
// count says is cut short, whether it failed the parity or the checksum: the line checks
// look at digits and sums only.
TEST_P(InLanguage, AHexLinesFailureSaysWhatIsWrongWithTheLine) {
  EXPECT_EQ(CommandLineText(LineMessage(kParityErrorHead, 3, ":10000000AABBCCD")),
            Of("Рядок 3 мікропрограми обрізано: запис оголошує 16 байт даних, а рядку бракує цифр: 27 "
               "(:10000000AABBCCD).",
               "Line 3 of the firmware is cut short: its record announces 16 data bytes, and the line lacks 27 "
               "digits (:10000000AABBCCD)."));
  EXPECT_EQ(CommandLineText(LineMessage(kChecksumErrorHead, 4, ":10000000AABBCCDD")),
            Of("Рядок 4 мікропрограми обрізано: запис оголошує 16 байт даних, а рядку бракує цифр: 26 "
               "(:10000000AABBCCDD).",
               "Line 4 of the firmware is cut short: its record announces 16 data bytes, and the line lacks 26 "
               "digits (:10000000AABBCCDD)."));
  EXPECT_EQ(CommandLineText(LineMessage(kParityErrorHead, 1, ":00000001F")),
            Of("Рядок 1 мікропрограми обрізано: рядок запису має щонайменше 11 знаків (:00000001F).",
               "Line 1 of the firmware is cut short: a record line has at least 11 characters (:00000001F)."));
  EXPECT_EQ(CommandLineText(LineMessage(kParityErrorHead, 2, ":0400000043EF01F0D9 ")),
            Of("У рядку 2 мікропрограми непарна кількість цифр (:0400000043EF01F0D9 ).",
               "Line 2 of the firmware has an odd number of digits (:0400000043EF01F0D9 )."));
  EXPECT_EQ(CommandLineText(LineMessage(kChecksumErrorHead, 5, ":0400040043EF01F0D6")),
            Of("Рядок 5 мікропрограми має хибну контрольну суму (:0400040043EF01F0D6).",
               "Line 5 of the firmware has a wrong checksum (:0400040043EF01F0D6)."));
}

INSTANTIATE_TEST_SUITE_P(Languages, InLanguage, ::testing::Values(Language::Ukrainian, Language::English),
                         [](const auto& info) {
                           return std::string(info.param == Language::English ? "English" : "Ukrainian");
                         });

}  // namespace
}  // namespace zorvan::cli
