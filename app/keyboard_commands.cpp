#include "app/keyboard_commands.h"

#include <utility>

namespace zorvan::app {

namespace {

// A virtual-key code names the key, not the letter it types: with the Ukrainian (or
// Russian) layout active, the key that types "К" is still VK_R. Qt reports the letter,
// so the Cyrillic letters are taken back to the keys that carry them.
constexpr std::pair<char16_t, char> kCyrillicKeys[] = {
    {u'Й', 'Q'}, {u'Ц', 'W'}, {u'У', 'E'}, {u'К', 'R'}, {u'Е', 'T'}, {u'Н', 'Y'}, {u'Г', 'U'},
    {u'Ш', 'I'}, {u'Щ', 'O'}, {u'З', 'P'}, {u'Ф', 'A'}, {u'І', 'S'}, {u'Ы', 'S'}, {u'В', 'D'},
    {u'А', 'F'}, {u'П', 'G'}, {u'Р', 'H'}, {u'О', 'J'}, {u'Л', 'K'}, {u'Д', 'L'}, {u'Я', 'Z'},
    {u'Ч', 'X'}, {u'С', 'C'}, {u'М', 'V'}, {u'И', 'B'}, {u'Т', 'N'}, {u'Ь', 'M'}};

}  // namespace

uint16_t VirtualKeyCode(int qt_key) {
  for (const auto& [letter, key] : kCyrillicKeys) {
    if (qt_key == letter) return static_cast<uint16_t>(key);
  }
  if ((qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) || (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9)) {
    return static_cast<uint16_t>(qt_key);  // Qt and the virtual keys share the ASCII codes
  }
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) {
    return static_cast<uint16_t>(VK_F1 + (qt_key - Qt::Key_F1));
  }
  if (qt_key == Qt::Key_Delete) return VK_DELETE;
  return 0;
}

KeyCommand CommandForKey(uint16_t key, Qt::KeyboardModifiers shift) {
  const bool ctrl = shift.testFlag(Qt::ControlModifier);
  // Tested in this order against the same key; the codes differ, so one press gives at
  // most one command.
  if (key == VK_F1) return KeyCommand::ShowHelp;
  if (key == VK_E && ctrl && shift.testFlag(Qt::ShiftModifier)) return KeyCommand::EngineeringView;
  if (key == VK_DELETE && ctrl) return KeyCommand::Stop;
  if (key == VK_R && ctrl) return KeyCommand::RefreshPorts;
  if (key == VK_L && ctrl) return KeyCommand::ResetDevice;
  return KeyCommand::None;
}

}  // namespace zorvan::app
