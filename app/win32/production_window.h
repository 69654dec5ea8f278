#pragma once
// The production window on Windows: the view of TProductionForm. The ports to tick on
// the left; one row per ticked port beside them; the whole line's buttons, tally and
// record file below the rows; the log at the bottom. It forwards the operator's acts to
// the form and shows what the form says; it decides nothing.
//
// What the ports' threads report reaches the form through a message posted to this
// window (Wake), so that the form takes it on the GUI thread; a timer calls the form's
// Tick every second while the window is shown, and another rings the bells.

#include <atomic>
#include <memory>
#include <vector>

#include "app/production_form_view.h"
#include "app/win32/button.h"
#include "app/win32/check_list.h"
#include "app/win32/form.h"
#include "app/win32/label.h"
#include "app/win32/memo.h"
#include "app/win32/production_row_panel.h"
#include "app/win32/scroll_area.h"

namespace zorvan::app {
class TProductionForm;
}

namespace zorvan::win32 {

class ProductionWindow : public Form, public app::ProductionFormView {
 public:
  // Made hidden. A window of its own on the task bar: the line runs while the main
  // window is minimised.
  ProductionWindow();
  ~ProductionWindow() override;

  // The form the operator's acts and the ports' reports go to from now on; nullptr:
  // none, as before the form is made and once it is gone.
  void Connect(app::TProductionForm* form) { form_ = form; }

  // WindowView.
  void ShowWindow() override;
  void HideWindow() override;
  void BringToFront() override { Form::BringToFront(); }
  void FadeIn(int milliseconds) override { Form::FadeIn(milliseconds); }
  void FadeOut(int milliseconds) override { Form::FadeOut(milliseconds); }
  void CancelFade() override { Form::CancelFade(); }

  // ProductionFormView.
  void SetCaption(const std::string& caption) override { Form::SetCaption(caption); }
  void SetHeader(const std::string& header) override { header_.SetText(header); }
  void SetPortChoices(const std::vector<app::PortChoice>& choices) override;
  void SetRowCount(int count) override;
  void ShowRow(int row, const app::RowLook& look) override;
  void SetLineButtons(bool start_enabled, bool stop_enabled) override;
  void SetTotals(const std::string& totals) override { totals_.SetText(totals); }
  void SetRecordFile(const std::string& text) override;
  void AddLogLine(const std::string& line) override { log_.AppendLine(line); }
  void Ring(int times) override;
  void Wake() override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void ForwardEvents();
  // Tab visits the port list, each row's button, the line's buttons and the log.
  void UpdateTabChain();

  app::TProductionForm* form_ = nullptr;
  // Set while the form changes the port list: the ticks it sets are not the operator's.
  bool changing_ = false;
  // A wake posted and not yet taken: further wakes meanwhile need no message of their own.
  std::atomic<bool> wake_posted_{false};
  int rings_left_ = 0;

  Label header_;
  Label ports_caption_;
  CheckList ports_;
  ScrollArea rows_area_;
  std::vector<std::unique_ptr<ProductionRowPanel>> rows_;
  Button start_all_;
  Button stop_all_;
  Button record_file_;
  Label totals_;
  Label record_path_;
  Memo log_;
};

}  // namespace zorvan::win32
