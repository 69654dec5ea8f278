#pragma once
// The main window on Windows: the view of TMainForm. It makes the controls the window's
// description lists, in the skin, forwards the operator's acts to the form and shows what
// the form says; it decides nothing.

#include "app/main_form_view.h"
#include "app/win32/form_window.h"
#include "app/win32/forms.h"

namespace zorvan::win32 {

class MainWindow : public FormWindow<app::MainFormView, app::TMainForm, app::MainControl> {
 public:
  // Made hidden; hiding it ends the program.
  explicit MainWindow(const SkinPictures& pictures);

  // MainFormView.
  void SetCaption(const std::string& caption) override { Form::SetCaption(caption); }
  void SetText(app::MainControl control, const std::string& text) override;
  void AddLine(app::MainControl memo, const std::string& line) override;
  void SetEnabled(app::MainControl control, bool enabled) override { At(control).SetEnabled(enabled); }
  void SetItems(app::MainControl box, const std::vector<std::string>& items) override;
  void SetItemIndex(app::MainControl box, int index) override;
  void Focus(app::MainControl control) override { At(control).Focus(); }
  void ShowGauge(app::MainControl gauge, int filled, const std::string& caption) override;
  void ShowBar(app::MainControl bar, int max, int position) override;
  void SetOuterHeight(int height) override { Form::SetOuterHeight(height, app::kDesignedFrameHeight); }
  void CentreOnScreen() override { Form::CentreOnScreen(); }
  void Repaint() override { Form::Repaint(); }
  void BringApplicationToFront() override;
  void ProcessMessages() override;

 private:
  void ForwardEvents();

  // Set while the form changes a control: what the control reports meanwhile is not the
  // operator's doing.
  bool changing_ = false;
};

}  // namespace zorvan::win32
