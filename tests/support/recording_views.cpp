#include "tests/support/recording_views.h"

#include "serial/queued_gui_thread.h"

namespace zorvan::app::testing {

RecordingMainView::RecordingMainView() {
  for (size_t i = 0; i < kMainControlCount; ++i) controls_[i].text = kMainFormControls[i].caption;
}

void RecordingMainView::AddLine(MainControl memo, const std::string& line) {
  std::string& text = At(memo).text;
  if (!text.empty()) text += "\r\n";
  text += line;
}

void RecordingMainView::SetItems(MainControl box, const std::vector<std::string>& items) {
  At(box).items = items;
  At(box).item_index = -1;
}

void RecordingMainView::Focus(MainControl control) { focused = DescriptionOf(control).name; }

void RecordingMainView::ShowGauge(MainControl gauge, int filled, const std::string& text) {
  At(gauge).filled = filled;
  At(gauge).caption = text;
}

void RecordingMainView::ShowBar(MainControl bar, int max, int position) {
  At(bar).max = max;
  At(bar).position = position;
}

void RecordingMainView::SetOuterHeight(int height) {
  outer_height = height;
  Record("height " + std::to_string(height));
}

void RecordingMainView::ProcessMessages() {
  ++processed;
  // The port's line events wait on the GUI thread for the next message point.
  DefaultGuiThread().ServePending();
  if (on_process_messages) on_process_messages();
}

}  // namespace zorvan::app::testing
