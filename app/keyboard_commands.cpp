#include "app/keyboard_commands.h"

namespace zorvan::app {

uint16_t VirtualKeyCode(int qt_key) {
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
