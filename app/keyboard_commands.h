#pragma once
// The main window's five keyboard commands and the rule that picks one for a key press.

#include <Qt>
#include <cstdint>

namespace zorvan::app {

enum class KeyCommand { None, ShowHelp, EngineeringView, Stop, RefreshPorts, ResetDevice };

// The virtual-key codes of the keys the commands use.
inline constexpr uint16_t VK_F1 = 112;
inline constexpr uint16_t VK_E = 69;
inline constexpr uint16_t VK_DELETE = 46;
inline constexpr uint16_t VK_R = 82;
inline constexpr uint16_t VK_L = 76;

// The virtual-key code of a Qt key: letters and digits keep their character code, F1 to
// F24 and Delete take the codes the window's description knows; other keys give 0.
uint16_t VirtualKeyCode(int qt_key);

// The command a key press gives. Only Ctrl and Shift are examined, and only where the
// command asks for them: a modifier it does not name may be held or not (Ctrl+Alt+L
// resets, Ctrl+F1 shows the help window, Ctrl+E without Shift does nothing).
KeyCommand CommandForKey(uint16_t key, Qt::KeyboardModifiers shift);

}  // namespace zorvan::app
