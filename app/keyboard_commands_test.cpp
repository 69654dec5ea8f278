#include "app/keyboard_commands.h"

#include <gtest/gtest.h>

namespace zorvan::app {
namespace {

TEST(CommandForKey, PicksTheCommandByKeyAndTheModifiersItNames) {
  const ShiftState none;
  const Modifier ctrl = Modifier::Ctrl, shift = Modifier::Shift, alt = Modifier::Alt;
  struct Row {
    const char* name;
    uint16_t key;
    ShiftState shift;
    KeyCommand command;
  };
  const Row rows[] = {
      {"F1", kKeyF1, none, KeyCommand::ShowHelp},
      {"Ctrl+F1", kKeyF1, ctrl, KeyCommand::ShowHelp},
      {"Ctrl+Shift+Alt+F1", kKeyF1, ctrl | shift | alt, KeyCommand::ShowHelp},
      {"Ctrl+Shift+E", kKeyE, ctrl | shift, KeyCommand::EngineeringView},
      {"Ctrl+Shift+Alt+E", kKeyE, ctrl | shift | alt, KeyCommand::EngineeringView},
      {"Ctrl+E", kKeyE, ctrl, KeyCommand::None},
      {"Shift+E", kKeyE, shift, KeyCommand::None},
      {"Ctrl+Delete", kKeyDelete, ctrl, KeyCommand::Stop},
      {"Ctrl+Shift+Delete", kKeyDelete, ctrl | shift, KeyCommand::Stop},
      {"Delete", kKeyDelete, none, KeyCommand::None},
      {"Ctrl+R", kKeyR, ctrl, KeyCommand::RefreshPorts},
      {"Ctrl+Alt+R", kKeyR, ctrl | alt, KeyCommand::RefreshPorts},
      {"R", kKeyR, none, KeyCommand::None},
      {"Alt+R", kKeyR, alt, KeyCommand::None},
      {"Ctrl+L", kKeyL, ctrl, KeyCommand::ResetDevice},
      {"Ctrl+Alt+L", kKeyL, ctrl | alt, KeyCommand::ResetDevice},
      {"Shift+L", kKeyL, shift, KeyCommand::None},
      {"Ctrl+Shift+A", kKeyA, ctrl | shift, KeyCommand::AutomaticMode},
      {"Ctrl+A", kKeyA, ctrl, KeyCommand::None},  // select-all in the memos and boxes
      {"Ctrl+Shift+P", kKeyP, ctrl | shift, KeyCommand::ProductionWindow},
      {"Ctrl+P", kKeyP, ctrl, KeyCommand::None},
      {"Ctrl+F2", 113, ctrl, KeyCommand::None},
      {"Ctrl+Backspace", 8, ctrl, KeyCommand::None},
  };
  for (const Row& row : rows) EXPECT_EQ(CommandForKey(row.key, row.shift), row.command) << row.name;
}

// With the Ukrainian layout active the keys of the commands type К, Д and У.
TEST(VirtualKeyOfCharacter, KnowsTheKeysByTheLettersOfEitherLayout) {
  EXPECT_EQ(VirtualKeyOfCharacter(U'E'), kKeyE);
  EXPECT_EQ(VirtualKeyOfCharacter(U'7'), 55);
  EXPECT_EQ(VirtualKeyOfCharacter(U'К'), kKeyR);
  EXPECT_EQ(VirtualKeyOfCharacter(U'Д'), kKeyL);
  EXPECT_EQ(VirtualKeyOfCharacter(U'У'), kKeyE);
  EXPECT_EQ(VirtualKeyOfCharacter(U'І'), VirtualKeyOfCharacter(U'Ы'));
  EXPECT_EQ(VirtualKeyOfCharacter(U'e'), 0);  // a key is named by its upper-case letter
  EXPECT_EQ(VirtualKeyOfCharacter(U'€'), 0);
}

}  // namespace
}  // namespace zorvan::app
