#pragma once
// The main window's view on Windows: every control of the window's description at its
// designed bounds, texts and hints, in the skin. It decides nothing: the form logic sets
// what it shows and hears what the operator does through onClick, onChange and onKeyDown.

#include <cstdint>
#include <string>
#include <vector>

#include "app/win32/button.h"
#include "app/win32/combo_box.h"
#include "app/win32/form_view.h"
#include "app/win32/gauge.h"
#include "app/win32/label.h"
#include "app/win32/memo.h"
#include "app/win32/panel.h"
#include "app/win32/progress_bar.h"

namespace zorvan::win32 {

struct SkinPictures;

// The main window's controls, by the names its description gives them.
enum class MainControl {
  sPanel1,
  Label1,
  cbPort,
  ButtonWrite,
  LabelNameOfHex,
  ProgressbarReadWrite,
  Label3,
  ProgressbarWrite,
  cbBaudRate,
  sPanel3,
  sButton2,
  sButton3,
  sPanel2,
  ButtonConect,
  ButtonOpenHex,
  MemoAbout,
  TextTerminal,
  sComboBoxSkinName,
};

class MainWindow : public FormView<MainControl> {
 public:
  static constexpr int kClientWidth = 329;
  static constexpr int kNormalClientHeight = 127;
  // The engineering view's height, title bar and borders included.
  static constexpr int kEngineeringOuterHeight = 340;

  // Made hidden, with the description's texts; the rate box has its items and no
  // selection. Closing it ends the program unless onClose says otherwise.
  explicit MainWindow(const SkinPictures& pictures);

  // Enlarges the window to the engineering view; the width stays.
  void OpenEngineeringView() { SetOuterHeight(kEngineeringOuterHeight); }

  // The port, rate and skin-name boxes.
  void SetItems(MainControl box, const std::vector<std::string>& items);
  std::vector<std::string> Items(MainControl box) const;
  void SetSelection(MainControl box, int index);  // -1 for none
  int Selection(MainControl box) const;

  // The main gauge, ProgressbarReadWrite.
  void SetGaugeMax(int64_t max);
  void SetGaugeProgress(int64_t progress);
  int64_t GaugeProgress() const;
  std::string GaugeCaption() const;

  // The chunk bar, ProgressbarWrite.
  void SetChunkBarMax(int max);
  void SetChunkBarPosition(int position);
  int ChunkBarPosition() const;

  // MemoAbout and TextTerminal.
  void AppendMemoLine(MainControl memo, std::string_view line);

 private:
  void CreateControls(const SkinPictures& pictures);
  void ConnectEvents();
  ComboBox& BoxOf(MainControl id) const;
  Memo& MemoOf(MainControl id) const;

  Panel sPanel1;
  Label Label1;
  ComboBox cbPort;
  Button ButtonWrite;
  Label LabelNameOfHex;
  Gauge ProgressbarReadWrite;
  Label Label3;
  ProgressBar ProgressbarWrite;
  ComboBox cbBaudRate;
  Panel sPanel3;
  Button sButton2;
  Button sButton3;
  Panel sPanel2;
  Button ButtonConect;
  Button ButtonOpenHex;
  Memo MemoAbout;
  Memo TextTerminal;
  ComboBox sComboBoxSkinName;
};

}  // namespace zorvan::win32
