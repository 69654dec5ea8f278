#pragma once
// The skin manager sSkinManager1 as the main window's handlers see it: the name of the
// skin to draw with. The program carries one skin, "Zorvan Bench", which the views apply
// when they are made; a name the manager has no skin for is kept, and the windows stay
// drawn with the skin in use.

#include <string>
#include <utility>

namespace zorvan::app {

class TsSkinManager {
 public:
  static constexpr char kInternalSkinName[] = "Zorvan Bench";

  void SetSkinName(std::string name) { skin_name_ = std::move(name); }
  const std::string& SkinName() const { return skin_name_; }

 private:
  std::string skin_name_ = kInternalSkinName;
};

}  // namespace zorvan::app
