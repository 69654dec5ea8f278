#include "app/keyboard_commands.h"

#include <utility>

namespace zorvan::app {

namespace {

// The Cyrillic letters on the keys of the Latin letters, as the Ukrainian (and Russian)
// layouts place them.
constexpr std::pair<char32_t, char> kCyrillicKeys[] = {
    {U'Й', 'Q'}, {U'Ц', 'W'}, {U'У', 'E'}, {U'К', 'R'}, {U'Е', 'T'}, {U'Н', 'Y'}, {U'Г', 'U'},
    {U'Ш', 'I'}, {U'Щ', 'O'}, {U'З', 'P'}, {U'Ф', 'A'}, {U'І', 'S'}, {U'Ы', 'S'}, {U'В', 'D'},
    {U'А', 'F'}, {U'П', 'G'}, {U'Р', 'H'}, {U'О', 'J'}, {U'Л', 'K'}, {U'Д', 'L'}, {U'Я', 'Z'},
    {U'Ч', 'X'}, {U'С', 'C'}, {U'М', 'V'}, {U'И', 'B'}, {U'Т', 'N'}, {U'Ь', 'M'}};

}  // namespace

KeyCommand CommandForKey(uint16_t key, ShiftState shift) {
  const bool ctrl = shift.Has(Modifier::Ctrl);
  // Tested in this order against the same key; the codes differ, so one press gives at
  // most one command.
  if (key == kKeyF1) return KeyCommand::ShowHelp;
  if (key == kKeyE && ctrl && shift.Has(Modifier::Shift)) return KeyCommand::EngineeringView;
  if (key == kKeyDelete && ctrl) return KeyCommand::Stop;
  if (key == kKeyR && ctrl) return KeyCommand::RefreshPorts;
  if (key == kKeyL && ctrl) return KeyCommand::ResetDevice;
  if (key == kKeyA && ctrl && shift.Has(Modifier::Shift)) return KeyCommand::AutomaticMode;
  if (key == kKeyP && ctrl && shift.Has(Modifier::Shift)) return KeyCommand::ProductionWindow;
  return KeyCommand::None;
}

uint16_t VirtualKeyOfCharacter(char32_t character) {
  // The virtual keys of letters and digits are their ASCII codes.
  if ((character >= U'A' && character <= U'Z') || (character >= U'0' && character <= U'9')) {
    return static_cast<uint16_t>(character);
  }
  for (const auto& [letter, key] : kCyrillicKeys) {
    if (character == letter) return static_cast<uint16_t>(key);
  }
  return 0;
}

}  // namespace zorvan::app
