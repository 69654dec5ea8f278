#pragma once
// The production window in Qt Widgets: the view of TProductionForm. The ports to tick on
// the left, a row per ticked port, the whole line's buttons, tally and record file below,
// and the log at the bottom. It forwards the operator's acts to the form and shows what
// the form says; it decides nothing.

#include <QWidget>
#include <atomic>
#include <vector>

#include "app/production_form.h"
#include "app/production_form_view.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QVBoxLayout;

namespace zorvan::app {

class ProductionRowWidget;

class ProductionFormWidget : public QWidget, public ProductionFormView {
  Q_OBJECT

 public:
  // Makes the window hidden; the main window's skin applies to it.
  explicit ProductionFormWidget(QWidget* parent = nullptr);

  // The form the operator's acts, the ticks and the wakes go to from now on; nullptr:
  // none, as before the form is made and once it is gone.
  void Connect(TProductionForm* form) { form_ = form; }

  // WindowView.
  void ShowWindow() override;
  void HideWindow() override { hide(); }
  void BringToFront() override;
  void FadeIn(int milliseconds) override;
  void FadeOut(int milliseconds) override;
  void CancelFade() override;

  // ProductionFormView.
  void SetCaption(const std::string& caption) override;
  void SetHeader(const std::string& header) override;
  void SetPortChoices(const std::vector<PortChoice>& choices) override;
  void SetRowCount(int count) override;
  void ShowRow(int row, const RowLook& look) override;
  void SetLineButtons(bool start_enabled, bool stop_enabled) override;
  void SetTotals(const std::string& totals) override;
  void SetRecordFile(const std::string& text) override;
  void AddLogLine(const std::string& line) override;
  void Ring(int times) override;
  void Wake() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* MakePortList();
  QWidget* MakeRows();
  QLayout* MakeLine();
  void RingOnce();
  void OrderTabs();

  TProductionForm* form_ = nullptr;
  QLabel* header_;
  QVBoxLayout* port_boxes_;
  std::vector<QCheckBox*> port_choices_;
  std::vector<PortChoice> choices_shown_;
  QVBoxLayout* row_list_;
  std::vector<ProductionRowWidget*> rows_;
  QPushButton* start_all_;
  QPushButton* stop_all_;
  QLabel* totals_;
  QPushButton* record_file_button_;
  QLabel* record_file_;
  QPlainTextEdit* log_;
  QTimer* tick_;
  QTimer* bell_;
  int rings_left_ = 0;
  // A delivery is asked for and has not begun: further wakes need no other.
  std::atomic<bool> delivery_asked_{false};
};

}  // namespace zorvan::app
