#pragma once
// The main window's keyboard commands and the rule that picks one for a key press.
// Keys are virtual-key codes: they name the key, whatever the keyboard layout types on it.

#include <cstdint>

namespace zorvan::app {

// The modifier keys held at a key press. The mouse buttons a key handler could also be
// told of are never examined, so they are not carried.
enum class Modifier : unsigned { Shift = 1, Alt = 2, Ctrl = 4 };

class ShiftState {
 public:
  constexpr ShiftState() = default;
  constexpr ShiftState(Modifier modifier) : bits_(static_cast<unsigned>(modifier)) {}

  constexpr bool Has(Modifier modifier) const { return (bits_ & static_cast<unsigned>(modifier)) != 0; }
  constexpr ShiftState operator|(ShiftState other) const { return ShiftState(bits_ | other.bits_); }
  constexpr bool operator==(const ShiftState&) const = default;

 private:
  constexpr explicit ShiftState(unsigned bits) : bits_(bits) {}
  unsigned bits_ = 0;
};

constexpr ShiftState operator|(Modifier a, Modifier b) { return ShiftState(a) | ShiftState(b); }

enum class KeyCommand {
  None,
  ShowHelp,
  EngineeringView,
  Stop,
  RefreshPorts,
  ResetDevice,
  AutomaticMode,
  ProductionWindow,
};

// The virtual-key codes of the keys the commands use (named apart from the system
// header's VK_ macros, which a Windows view includes beside this one).
inline constexpr uint16_t kKeyF1 = 112;
inline constexpr uint16_t kKeyE = 69;
inline constexpr uint16_t kKeyDelete = 46;
inline constexpr uint16_t kKeyR = 82;
inline constexpr uint16_t kKeyL = 76;
inline constexpr uint16_t kKeyA = 65;
inline constexpr uint16_t kKeyP = 80;

// The command a key press gives. Only Ctrl and Shift are examined, and only where the
// command asks for them: a modifier it does not name may be held or not (Ctrl+Alt+L
// resets, Ctrl+F1 shows the help window, Ctrl+E without Shift does nothing). Ctrl+Shift+A,
// the production line's automatic mode, and Ctrl+Shift+P, the production window, come
// after the five the window always had.
KeyCommand CommandForKey(uint16_t key, ShiftState shift);

// The virtual-key code of the key that types `character` as an upper-case letter or a
// digit: a Latin letter or a digit is its own code, and a Cyrillic letter of the
// Ukrainian or Russian layout gives the key it lies on (К is on R). For a toolkit that
// reports the letter typed rather than the key; anything else gives 0.
uint16_t VirtualKeyOfCharacter(char32_t character);

}  // namespace zorvan::app
