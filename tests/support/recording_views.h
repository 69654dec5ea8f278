#pragma once
// Views that keep what their forms told them, as the operator would see it, and list the
// window's own acts (shown, faded, raised, resized) in order, so tests can run the forms
// without a toolkit.

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "app/form_help_view.h"
#include "app/main_form_view.h"
#include "app/production_form_view.h"

namespace zorvan::app::testing {

// A window view recording its acts as short texts: "show", "hide", "front",
// "fade-in <ms>", "fade-out <ms>", "cancel-fade". The fade-out's end is the test's to
// report, as a toolkit's timer would.
template <typename View>
class RecordingWindow : public View {
 public:
  std::vector<std::string> acts;
  bool visible = false;

  void ShowWindow() override {
    visible = true;
    Record("show");
  }
  void HideWindow() override {
    visible = false;
    Record("hide");
  }
  void BringToFront() override { Record("front"); }
  void FadeIn(int milliseconds) override { Record("fade-in " + std::to_string(milliseconds)); }
  void FadeOut(int milliseconds) override { Record("fade-out " + std::to_string(milliseconds)); }
  void CancelFade() override { Record("cancel-fade"); }

 protected:
  void Record(std::string act) { acts.push_back(std::move(act)); }
};

class RecordingMainView : public RecordingWindow<MainFormView> {
 public:
  // What one control shows.
  struct Shown {
    std::string text;
    bool enabled = true;
    std::vector<std::string> items;
    int item_index = -1;
    int filled = 0;        // a gauge's filled ten-thousandths
    std::string caption;   // a gauge's text
    int max = 0;           // a bar's range and position
    int position = 0;
  };

  RecordingMainView();

  const Shown& operator[](MainControl control) const { return controls_[static_cast<size_t>(control)]; }

  std::string caption;
  int outer_height = 0;  // 0 until set
  std::string focused;   // the name of the control last focused
  int processed = 0;     // how often pending messages were let through
  // Runs inside ProcessMessages, as a nested keyboard command would.
  std::function<void()> on_process_messages;

  // The main window's acts add "centre", "repaint", "front-all" and "height <px>".
  void SetCaption(const std::string& text) override { caption = text; }
  void SetText(MainControl control, const std::string& text) override { At(control).text = text; }
  void AddLine(MainControl memo, const std::string& line) override;
  void SetEnabled(MainControl control, bool enabled) override { At(control).enabled = enabled; }
  void SetItems(MainControl box, const std::vector<std::string>& items) override;
  void SetItemIndex(MainControl box, int index) override { At(box).item_index = index; }
  void Focus(MainControl control) override;
  void ShowGauge(MainControl gauge, int filled, const std::string& text) override;
  void ShowBar(MainControl bar, int max, int position) override;
  void SetOuterHeight(int height) override;
  void CentreOnScreen() override { Record("centre"); }
  void Repaint() override { Record("repaint"); }
  void BringApplicationToFront() override { Record("front-all"); }
  void ProcessMessages() override;

 private:
  Shown& At(MainControl control) { return controls_[static_cast<size_t>(control)]; }

  std::array<Shown, kMainControlCount> controls_;
};

class RecordingHelpView : public RecordingWindow<HelpFormView> {
 public:
  std::string focused;

  void Focus(HelpControl control) override { focused = DescriptionOf(control).name; }
};

// The production window: what each part shows now, the log's lines and the bells in order.
class RecordingProductionView : public RecordingWindow<ProductionFormView> {
 public:
  std::string caption;
  std::string header;
  std::vector<PortChoice> choices;
  std::vector<RowLook> rows;
  bool start_enabled = false;
  bool stop_enabled = false;
  std::string totals;
  std::string record_file;
  std::vector<std::string> log;
  std::vector<int> rings;
  std::atomic<int> wakes{0};

  void SetCaption(const std::string& text) override { caption = text; }
  void SetHeader(const std::string& text) override { header = text; }
  void SetPortChoices(const std::vector<PortChoice>& list) override { choices = list; }
  void SetRowCount(int count) override { rows.resize(static_cast<size_t>(count)); }
  void ShowRow(int row, const RowLook& look) override { rows.at(static_cast<size_t>(row)) = look; }
  void SetLineButtons(bool start, bool stop) override {
    start_enabled = start;
    stop_enabled = stop;
  }
  void SetTotals(const std::string& text) override { totals = text; }
  void SetRecordFile(const std::string& text) override { record_file = text; }
  void AddLogLine(const std::string& line) override { log.push_back(line); }
  void Ring(int times) override { rings.push_back(times); }
  void Wake() override { ++wakes; }
};

}  // namespace zorvan::app::testing
