#include "cli/system_texts.h"

#include <optional>
#include <string_view>

#include "common/conversions.h"
#include "firmware/hex_lines.h"
#include "firmware/image_builder.h"
#include "cli/texts.h"

namespace zorvan::cli {

const std::vector<SystemLine>& SystemLines() {
  static const std::vector<SystemLine> lines = {
      // The image.
      {"Файл {0} не містить записів Intel HEX!", nullptr, "{0} holds no Intel HEX records!"},
      {"Файл {0} двійковий, а не текст Intel HEX!", nullptr, "{0} is a binary file, not Intel HEX text!"},
      {"Мікропрограму не підготовлено до запису!", nullptr, "The firmware is not prepared for writing!"},
      // Identification.
      {"Мікропрограма готова до запису", nullptr, "The firmware is ready for writing"},
      {"Не визначино, для усунення причин:", nullptr, "Not detected. To find out why:"},
      {"- прилад повинен бути включеним;", nullptr, "- the device must be switched on;"},
      {"- ввести пароль;", nullptr, "- enter the password;"},
      {"- перевірити вибір немеру СОМ;", nullptr, "- check the port chosen;"},
      {"- перевірити вибір немеру СОМ.", nullptr, "- check the port chosen."},
      {"- перевірити швидкість (більшість 115200).", nullptr, "- check the rate (115200 for most devices)."},
      {"- розвернути роз`єм програмування;", nullptr, "- turn the programming connector round;"},
      {"{0} - невідома версія завантажувача мікроконтролера", nullptr,
       "{0} - unknown version of the microcontroller's loader"},
      {"Невідомий прилад (без текстового опису)", nullptr, "Unknown device (no description)"},
      {"Невідомий прилад/версія", nullptr, "Unknown device/version"},
      {"Визначино:", nullptr, "Detected:"},
      {"Робота приладу призупинена!", nullptr, "The device's work is paused!"},
      {"Відкрийте мікропрограму з розширенням - HEX",
       "Прилад чекає в завантажувачі: zorvan-flash write записує його, zorvan-flash reset повертає до роботи.",
       "The device waits in its loader: zorvan-flash write programs it, zorvan-flash reset starts it again."},
      // The version gate and the memory.
      {"Невідомо що то є!", nullptr, "No idea what that is!"},
      {"Дана версія вже записана в прилад!", nullptr, "This version is already written in the device!"},
      {"В прилад вже записана новіша версія!", nullptr, "A newer version is already written in the device!"},
      {"Пам'ять приладу ({0} байт) перевищує 16 МБ, які може адресувати завантажувач.", nullptr,
       "The device's memory ({0} bytes) exceeds the 16 MiB the loader can address."},
      {"Мікропрограма не вміщується в пам'ять приладу:", nullptr, "The firmware does not fit the device's memory:"},
      {"прилад має {0} байт, мікропрограма займає {1} байт.", nullptr,
       "the device has {0} bytes, the firmware takes {1} bytes."},
      {"Запис неможливий!", nullptr, "Writing is impossible!"},
      // The run.
      {"Йде запис! Заборонено переривати!", nullptr, "Writing! Do not interrupt!"},
      {"Автокалібровка: {0}", nullptr, "Calibration: {0}"},
      {"Очистив{0}", nullptr, "Erased {0}"},
      {"Записав{0}", nullptr, "Wrote {0}"},
      {"Прошив{0}", nullptr, "Committed {0}"},
      {"Мікропрограма : успішно завантажена в {0}", nullptr, "Firmware: written successfully at {0}"},
      {"Мікропрограма успішно завантажена в {0}", nullptr, "The firmware was written successfully at {0}"},
      {"Після запису необхідно провести процедуру встановлення початкових установок (при наявності)", nullptr,
       "After writing, carry out the initial settings procedure (where there is one)"},
      {"Після запису необхідно провести встановлення конфігурації (при наявності)", nullptr,
       "After writing, set the configuration (where there is one)"},
      {"Мікропрограма :  - помилка", nullptr, "Firmware: failed"},
      {"Мікропрограма : {0} - помилка", nullptr, "Firmware: {0} - failed"},
      {"Помилка очистки - {0}", nullptr, "Erase failed - {0}"},
      {"Помилка запису - {0}", nullptr, "Write failed - {0}"},
      {"Помилка прошивки - {0}", nullptr, "Commit failed - {0}"},
      {"Увага!", nullptr, "Warning!"},
      {"При неповному запису можлива некоректна робота приладу!", nullptr,
       "A device written incompletely may not work correctly!"},
      {"Зупинено користувачем!", nullptr, "Stopped by the operator!"},
      {"Зупинено користувачем", nullptr, "Stopped by the operator"},
      {"Мікропрограма записана частково!", nullptr, "The firmware is partly written!"},
      {"Необхідно повторно вибрати файл прошивки,", nullptr, "Choose the firmware file again"},
      {"і провести запис, інакще в подальшому", nullptr, "and write it, or from now on"},
      {"прилад буде не працездатний!", nullptr, "the device will not work!"},
      {"Скинуто прилад!!!", nullptr, "The device has been reset!!!"},
      // The port. The window's advice to reopen the program is the command line's own.
      {"Спроба відкрити неіснуючий СОМ-порт", nullptr, "An attempt to open a COM port that does not exist"},
      {"Порт зайнятий іншою програмою", nullptr, "The port is taken by another program"},
      {"Помилка запису в порт.", nullptr, "Error writing to the port."},
      {"Помилка читання з порта", nullptr, "Error reading from the port"},
      {"Помилка функції {0}", nullptr, "The function {0} failed"},
      {"Неможна змінювати властивості, доки порт відкритий", nullptr,
       "The properties cannot be changed while the port is open"},
      {"Відсутні СОМ-порти!", nullptr, "There are no COM ports!"},
      {"Необхідно повторно відкрити програму!", "", ""},
  };
  return lines;
}

namespace {

// The texts filled into `pattern`'s {0}, {1}... (in that order) when `text` is that
// pattern filled in. Each piece between them is looked for at the first place after the
// one before; the last piece must end the text.
std::optional<std::vector<std::string>> Match(std::string_view pattern, std::string_view text) {
  std::vector<std::string_view> pieces;
  for (size_t at = 0;;) {
    const size_t open = pattern.find('{', at);
    pieces.push_back(pattern.substr(at, open == std::string_view::npos ? std::string_view::npos : open - at));
    if (open == std::string_view::npos) break;
    at = pattern.find('}', open) + 1;
  }
  if (pieces.size() == 1) return text == pieces[0] ? std::optional(std::vector<std::string>{}) : std::nullopt;
  if (!text.starts_with(pieces[0])) return std::nullopt;
  std::vector<std::string> filled;
  size_t at = pieces[0].size();
  for (size_t i = 1; i < pieces.size(); ++i) {
    size_t found = std::string_view::npos;
    if (i + 1 == pieces.size()) {
      if (text.size() >= at + pieces[i].size() && text.ends_with(pieces[i])) found = text.size() - pieces[i].size();
    } else if (!pieces[i].empty()) {
      found = text.find(pieces[i], at);
    }
    if (found == std::string_view::npos) return std::nullopt;
    filled.emplace_back(text.substr(at, found - at));
    at = found + pieces[i].size();
  }
  return filled;
}

// The failure of a HEX line's checks (head, number, "!", " (", line, ")"), said as what
// is wrong with the line. A record line shorter than its count says is cut short,
// whichever check it failed first: an odd number of digits or a wrong checksum is then
// only a symptom.
std::optional<std::string> HexLineFailure(std::string_view text) {
  struct Head {
    const char* head;
    Msg says;
  };
  static const Head kHeads[] = {{kParityErrorHead, Msg::HexLineOdd},
                                {kChecksumErrorHead, Msg::HexLineChecksum},
                                {kTruncatedRecordHead, Msg::HexLineTooShort},
                                {kStartLinearAddressHead, Msg::HexLineStartAddress},
                                {kOutsideImageHead, Msg::HexLineOutside}};
  for (const Head& h : kHeads) {
    const auto filled = Match(std::string(h.head) + "{0}! ({1})", text);
    if (!filled) continue;
    const std::string& number = (*filled)[0];
    const std::string& line = (*filled)[1];
    const bool length_checked = h.says == Msg::HexLineOdd || h.says == Msg::HexLineChecksum ||
                                h.says == Msg::HexLineTooShort;
    if (!length_checked) return Say(h.says, {number, line});
    // A colon, the count, the address, the type, the data and the checksum.
    constexpr size_t kShortest = 11;
    if (line.size() < kShortest) return Say(Msg::HexLineTooShort, {number, line});
    const std::optional<int32_t> count = TryStrToInt("$" + line.substr(1, 2));
    const size_t whole = count ? kShortest + 2 * static_cast<size_t>(*count) : 0;
    if (line.size() < whole) {
      return Say(Msg::HexLineCut, {number, std::to_string(*count), std::to_string(whole - line.size()), line});
    }
    return Say(h.says, {number, line});
  }
  return std::nullopt;
}

std::string LineAsShown(const std::string& line) {
  if (const auto failure = HexLineFailure(line)) return *failure;
  // A conversion error is the runtime's own English; Ukrainian screens say it in Ukrainian.
  if (const auto filled = Match("'{0}' is not a valid integer value", line)) {
    return Say(Msg::NotANumber, *filled);
  }
  const bool english = CurrentLanguage() == Language::English;
  for (const SystemLine& l : SystemLines()) {
    auto filled = Match(l.window, line);
    if (!filled) continue;
    // What is filled in may be a system text itself ("Визначино:" + the memo's text).
    for (std::string& part : *filled) part = CommandLineText(part);
    return Fill(english ? l.en : l.uk ? l.uk : l.window, *filled);
  }
  return line;
}

}  // namespace

std::string CommandLineText(const std::string& text) {
  std::string out;
  size_t start = 0;
  bool any = false;
  for (;;) {
    const size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::string shown = LineAsShown(line);
    // A line left out takes its line break with it; an empty line stays.
    if (!(shown.empty() && !line.empty())) {
      if (any) out += '\n';
      out += shown;
      any = true;
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

}  // namespace zorvan::cli
