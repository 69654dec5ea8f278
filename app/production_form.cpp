#include "app/production_form.h"

#include <algorithm>
#include <mutex>

#include "app/app_texts.h"
#include "app/desktop.h"
#include "app/handler_guard.h"
#include "app/utf8_path.h"
#include "app/production_row.h"
#include "firmware/firmware_source.h"
#include "records/exit_status.h"
#include "records/run_recorder.h"
#include "serial/com_types.h"
#include "serial/ecomport.h"

namespace zorvan::app {

namespace {

// What the system tells of the adapter behind a port, on one line.
std::string AdapterDescription(const SerialPortInfo& info) {
  if (info.Product.empty()) return info.Driver;
  if (info.Manufacturer.empty() || info.Product.rfind(info.Manufacturer, 0) == 0) return info.Product;
  return info.Manufacturer + " " + info.Product;
}

// A record file the system refused, in the window's words.
std::string RecordFileErrorText(const ERecordFile& error) {
  return std::string(error.WhatFailed() == ERecordFile::Act::Open ? kRecordFileNotOpened : kRecordFileNotWritten) +
         " «" + error.PathText() + "»: " + error.Reason();
}

RecordedRun RecordOf(const LineRun& run) {
  RecordedRun record;
  record.began = run.began;
  record.seconds = run.seconds;
  record.exit_status = ExitStatusOf(run.ending, run.result);
  record.result = run.message;
  record.description = run.description;
  record.loader_version = run.loader_version;
  record.calibration = run.calibration;
  record.reach = run.reach;
  return record;
}

int RingsFor(DeviceResult result) {
  switch (result) {
    case DeviceResult::Passed: return 1;
    case DeviceResult::Refused: return 2;
    case DeviceResult::Failed:
    case DeviceResult::PortLost: return 3;
    case DeviceResult::Gone: return 0;
  }
  return 0;
}

}  // namespace

class TProductionForm::Impl {
 public:
  Impl(ProductionFormView& view, Desktop& desktop, std::vector<std::string> virtual_ports, LinePortStarter start)
      : view_(view), desktop_(desktop), virtual_ports_(std::move(virtual_ports)), start_port_(std::move(start)) {}

  ~Impl() {
    // Every port's thread reports to this form: all are stopped together, then awaited.
    for (auto& row : rows_) {
      if (row->control) row->control->Stop();
    }
    for (auto& row : rows_) row->control.reset();
  }

  void Open(ProductionFirmware firmware, const std::vector<std::string>& ports, bool start);
  void PortTicked(int choice, bool ticked);
  void RowButtonClick(int row);
  void RecordFileClick();
  void StartAll();
  void StopAll();
  void StopRuns();
  void FormClose();
  void Tick() { RefreshChoices(); }
  void DeliverEvents();
  bool Running() const {
    return std::any_of(rows_.begin(), rows_.end(), [](const auto& row) { return row->control != nullptr; });
  }

  void Handle(const std::function<void()>& body) { RunHandler(desktop_, body); }

 private:
  // What a port's thread reported, waiting for the GUI thread.
  struct PortEvent {
    enum class Kind { Phase, Percent, Device, Ended };
    int row_id;
    Kind kind;
    CyclePhase phase = CyclePhase::WaitingForDevice;
    CycleTally tally;
    std::string detail;
    int percent = 0;
    LineRun run;
    std::string record_error;  // the run's record could not be written: the port ends
  };

  // A port's reports, queued for the GUI thread; called on the port's thread.
  class RowObserver final : public LinePortObserver {
   public:
    RowObserver(Impl& impl, int row_id, std::string port) : impl_(impl), row_id_(row_id), port_(std::move(port)) {}
    void PhaseShown(CyclePhase phase, const CycleTally& tally, const std::string& detail) override {
      impl_.Post({row_id_, PortEvent::Kind::Phase, phase, tally, detail});
    }
    void RunPercent(int percent) override {
      PortEvent event{row_id_, PortEvent::Kind::Percent};
      event.percent = percent;
      impl_.Post(std::move(event));
    }
    bool DeviceDone(const LineRun& run) override {
      PortEvent event{row_id_, PortEvent::Kind::Device};
      event.run = run;
      event.record_error = impl_.Record(port_, run);
      const bool go_on = event.record_error.empty();
      impl_.Post(std::move(event));
      return go_on;
    }
    void PortEnded(const CycleTally& tally) override { impl_.Post({row_id_, PortEvent::Kind::Ended, {}, tally}); }

   private:
    Impl& impl_;
    const int row_id_;
    const std::string port_;
  };

  // A ticked port: its row, and its cycle while it runs.
  struct Row {
    int id;
    std::string port;
    ProductionRow model;
    bool stop_given = false;  // its run in progress has been stopped
    std::unique_ptr<RowObserver> observer;
    std::unique_ptr<LinePortControl> control;  // while its cycle runs
  };

  // Appends the run's record when a record file was chosen; returns what kept it from
  // being written, worded for the operator, or an empty text. On the port's thread.
  std::string Record(const std::string& port, const LineRun& run) {
    std::shared_ptr<RunRecorder> recorder;
    {
      std::lock_guard lock(recorder_mutex_);
      recorder = recorder_;
    }
    if (!recorder) return {};
    try {
      recorder->Record(port, RecordOf(run));
      return {};
    } catch (const ERecordFile& error) {
      return RecordFileErrorText(error);
    }
  }
  void SetRecorder(std::shared_ptr<RunRecorder> recorder) {
    std::lock_guard lock(recorder_mutex_);
    recorder_ = std::move(recorder);
  }
  void NoteFirmware(const ProductionFirmware& firmware) {
    hex_file_ = firmware.hex_file.empty() ? std::string() : FileNameOnly(firmware.hex_file);
    hex_sha256_ = firmware.hex_file.empty() ? std::string() : firmware.sha256;
  }

  void Post(PortEvent event) {
    {
      std::lock_guard lock(events_mutex_);
      events_.push_back(std::move(event));
    }
    view_.Wake();
  }

  Row* FindRow(const std::string& port) {
    for (auto& row : rows_) {
      if (row->port == port) return row.get();
    }
    return nullptr;
  }
  Row* RowById(int id) {
    for (auto& row : rows_) {
      if (row->id == id) return row.get();
    }
    return nullptr;
  }
  void AddRow(const std::string& port) {
    if (FindRow(port)) return;
    auto row = std::make_unique<Row>();
    row->id = next_row_id_++;
    row->port = port;
    row->observer = std::make_unique<RowObserver>(*this, row->id, port);
    rows_.push_back(std::move(row));
  }

  void StartPort(Row& row);
  void EndPort(Row& row);
  void StopPort(Row& row);
  void Apply(Row& row, const PortEvent& event);

  // The ports the operator may tick: those named on the command line, the system's, and
  // any ticked port the system no longer lists (its row stays, showing it missing).
  void RefreshChoices();
  std::string PortTitle(const std::string& port) const;
  void ShowRows();
  void ShowRow(size_t index);
  void ShowLine();

  ProductionFormView& view_;
  Desktop& desktop_;
  const std::vector<std::string> virtual_ports_;
  const LinePortStarter start_port_;

  std::shared_ptr<const ImageState> image_;
  int baud_rate_index_ = 12;
  bool shown_ = false;
  bool closing_ = false;  // the window hides once every port has ended

  std::vector<SerialPortInfo> system_ports_;
  std::vector<PortChoice> choices_;
  std::vector<std::unique_ptr<Row>> rows_;
  int next_row_id_ = 0;
  CycleTally removed_;  // the counts of rows the operator took away

  std::mutex events_mutex_;
  std::vector<PortEvent> events_;

  // The run-record file, none unless the operator picked one; shared by the ports.
  std::mutex recorder_mutex_;
  std::shared_ptr<RunRecorder> recorder_;
  std::string record_path_;
  std::string hex_file_;    // the firmware's HEX file, for the records; empty: the carried one
  std::string hex_sha256_;
};

void TProductionForm::Impl::Open(ProductionFirmware firmware, const std::vector<std::string>& ports, bool start) {
  // A line that runs keeps the firmware it began with.
  if (!Running()) {
    image_ = std::make_shared<const ImageState>(std::move(firmware.image));
    baud_rate_index_ = firmware.baud_rate_index;
    NoteFirmware(firmware);
    std::lock_guard lock(recorder_mutex_);
    if (recorder_) recorder_->SetFirmware(hex_file_, hex_sha256_);
    const std::string name = firmware.hex_file.empty()
                                 ? firmware.name + " (" + kLineCarriedFirmware + ")"
                                 : firmware.name;
    view_.SetCaption(std::string(kLineTitle) + " — " + firmware.name);
    view_.SetHeader(kLineFirmwareHead + name + "  SHA-256: " + firmware.sha256.substr(0, 12));
  }
  for (const std::string& port : ports) AddRow(port);
  closing_ = false;
  view_.SetRowCount(static_cast<int>(rows_.size()));
  RefreshChoices();
  ShowRows();
  ShowLine();
  if (shown_) {
    view_.BringToFront();
  } else {
    shown_ = true;
    view_.ShowWindow();
    view_.FadeIn(70);
  }
  if (start) StartAll();
}

void TProductionForm::Impl::RefreshChoices() {
  try {
    system_ports_ = desktop_.ListSerialPortDetails();
  } catch (const EComPort&) {
    // No table of ports: none but those named on the command line and the ticked ones.
    system_ports_.clear();
  }
  std::vector<PortChoice> choices;
  const auto listed = [&choices](const std::string& port) {
    return std::any_of(choices.begin(), choices.end(), [&](const PortChoice& c) { return c.name == port; });
  };
  for (const std::string& port : virtual_ports_) {
    if (!listed(port)) choices.push_back({port, {}, false});
  }
  for (const SerialPortInfo& info : system_ports_) {
    if (!listed(info.Name)) choices.push_back({info.Name, AdapterDescription(info), false});
  }
  for (const auto& row : rows_) {
    if (!listed(row->port)) choices.push_back({row->port, {}, false});
  }
  for (PortChoice& choice : choices) choice.ticked = FindRow(choice.name) != nullptr;
  const bool same = choices.size() == choices_.size() &&
                    std::equal(choices.begin(), choices.end(), choices_.begin(), [](const auto& a, const auto& b) {
                      return a.name == b.name && a.description == b.description && a.ticked == b.ticked;
                    });
  if (same) return;
  choices_ = std::move(choices);
  view_.SetPortChoices(choices_);
  // The adapters' descriptions in the rows' titles follow the list.
  ShowRows();
}

std::string TProductionForm::Impl::PortTitle(const std::string& port) const {
  for (const PortChoice& choice : choices_) {
    if (choice.name == port && !choice.description.empty()) return port + " — " + choice.description;
  }
  return port;
}

void TProductionForm::Impl::PortTicked(int choice, bool ticked) {
  if (choice < 0 || static_cast<size_t>(choice) >= choices_.size()) return;
  const std::string port = choices_[choice].name;
  Row* row = FindRow(port);
  if (ticked) {
    AddRow(port);
  } else if (row && row->control) {
    // A port that runs keeps its row until it has been stopped: the tick comes back.
  } else if (row) {
    removed_ += row->model.Counts();
    rows_.erase(std::find_if(rows_.begin(), rows_.end(), [row](const auto& r) { return r.get() == row; }));
  }
  for (PortChoice& c : choices_) c.ticked = FindRow(c.name) != nullptr;
  view_.SetPortChoices(choices_);
  view_.SetRowCount(static_cast<int>(rows_.size()));
  ShowRows();
  ShowLine();
}

void TProductionForm::Impl::StartPort(Row& row) {
  if (row.control || !image_) return;
  row.model.Started();
  row.stop_given = false;
  row.control = start_port_({row.port, baud_rate_index_, image_}, *row.observer);
}

void TProductionForm::Impl::EndPort(Row& row) {
  if (!row.control) return;
  row.control->End();
  row.model.Ending();
}

void TProductionForm::Impl::StopPort(Row& row) {
  if (!row.control) return;
  row.control->Stop();
  row.model.Ending();
  row.stop_given = true;
}

// Picking a file stops nothing: the runs that end from then on are recorded in it. A
// cancelled dialog leaves the line without a record file.
void TProductionForm::Impl::RecordFileClick() {
  const std::string chosen = desktop_.ChooseFileToSave(view_, kRecordFileFilter,
                                                       record_path_.empty() ? kRecordFileSuggested : record_path_);
  std::shared_ptr<RunRecorder> recorder;
  std::string error;
  if (!chosen.empty()) {
    try {
      recorder = std::make_shared<RunRecorder>(PathFromUtf8(chosen), BaudRateValues[baud_rate_index_]);
      recorder->SetFirmware(hex_file_, hex_sha256_);
    } catch (const ERecordFile& refused) {
      error = RecordFileErrorText(refused);
    }
  }
  record_path_ = recorder ? chosen : std::string();
  SetRecorder(std::move(recorder));
  view_.SetRecordFile(record_path_);
  if (!error.empty()) throw Exception(error);
}

void TProductionForm::Impl::RowButtonClick(int index) {
  if (index < 0 || static_cast<size_t>(index) >= rows_.size()) return;
  Row& row = *rows_[index];
  if (!row.control) {
    closing_ = false;
    StartPort(row);
  } else if (!row.model.IsEnding()) {
    EndPort(row);
  } else {
    StopPort(row);
  }
  ShowRow(index);
  ShowLine();
}

void TProductionForm::Impl::StartAll() {
  closing_ = false;
  for (auto& row : rows_) StartPort(*row);
  ShowRows();
  ShowLine();
}

// The first stop ends each port once its run is over; once every port is ending, the
// next one stops the runs themselves.
void TProductionForm::Impl::StopAll() {
  const bool all_ending = std::all_of(rows_.begin(), rows_.end(),
                                      [](const auto& row) { return !row->control || row->model.IsEnding(); });
  for (auto& row : rows_) {
    if (all_ending) {
      StopPort(*row);
    } else {
      EndPort(*row);
    }
  }
  ShowRows();
  ShowLine();
}

void TProductionForm::Impl::StopRuns() {
  for (auto& row : rows_) StopPort(*row);
  ShowRows();
  ShowLine();
}

void TProductionForm::Impl::FormClose() {
  if (!shown_) return;
  if (Running()) {
    closing_ = true;
    StopAll();
    return;
  }
  shown_ = false;
  view_.HideWindow();
}

void TProductionForm::Impl::DeliverEvents() {
  std::vector<PortEvent> events;
  {
    std::lock_guard lock(events_mutex_);
    events.swap(events_);
  }
  if (events.empty()) return;
  for (const PortEvent& event : events) {
    if (Row* row = RowById(event.row_id)) Apply(*row, event);
  }
  ShowRows();
  ShowLine();
  if (closing_ && !Running()) {
    closing_ = false;
    shown_ = false;
    view_.HideWindow();
  }
}

void TProductionForm::Impl::Apply(Row& row, const PortEvent& event) {
  switch (event.kind) {
    case PortEvent::Kind::Phase: {
      const std::string line = row.model.Phase(event.phase, event.tally, event.detail, desktop_.TimeOfDay(), row.port);
      if (!line.empty()) view_.AddLogLine(line);
      break;
    }
    case PortEvent::Kind::Percent: row.model.Percent(event.percent); break;
    case PortEvent::Kind::Device: {
      const std::string line = row.model.Device(event.run, desktop_.TimeOfDay(), row.port);
      if (!line.empty()) {
        view_.AddLogLine(line);
        view_.Ring(RingsFor(event.run.result));
      }
      if (!event.record_error.empty()) {
        row.model.RecordFailed();
        row.model.Ending();
        view_.AddLogLine(desktop_.TimeOfDay() + "  " + row.port + "  " + event.record_error + ". " + kLinePortStopped);
      }
      break;
    }
    case PortEvent::Kind::Ended:
      // The port's thread has said its last word: waiting for it takes no time.
      row.control.reset();
      row.model.Phase(CyclePhase::WaitingForDevice, event.tally, {}, {}, {});
      row.model.Ended();
      break;
  }
}

void TProductionForm::Impl::ShowRows() {
  for (size_t i = 0; i < rows_.size(); ++i) ShowRow(i);
}

void TProductionForm::Impl::ShowRow(size_t index) {
  const Row& row = *rows_[index];
  RowLook look;
  look.port = PortTitle(row.port);
  look.state = row.model.StateText();
  look.colour = row.model.Colour();
  look.percent = row.model.ShownPercent();
  look.last_device = row.model.LastDevice();
  look.counts = row.model.CountsText();
  if (!row.control) {
    look.button = kLineStartPort;
    look.button_enabled = image_ != nullptr;
  } else if (!row.model.IsEnding()) {
    look.button = kLineStopPort;
  } else {
    look.button = kLineStopRun;
    look.button_enabled = !row.stop_given;
  }
  view_.ShowRow(static_cast<int>(index), look);
}

void TProductionForm::Impl::ShowLine() {
  const bool can_start =
      image_ && std::any_of(rows_.begin(), rows_.end(), [](const auto& row) { return !row->control; });
  view_.SetLineButtons(can_start, Running());
  CycleTally total = removed_;
  for (const auto& row : rows_) total += row->model.Counts();
  view_.SetTotals(kLineTotalsHead + TallyWithTimeText(total));
}

TProductionForm::TProductionForm(ProductionFormView& view, Desktop& desktop, std::vector<std::string> virtual_ports)
    : TProductionForm(view, desktop, std::move(virtual_ports), StartLinePort) {}

TProductionForm::TProductionForm(ProductionFormView& view, Desktop& desktop, std::vector<std::string> virtual_ports,
                                 LinePortStarter start_port)
    : impl_(std::make_unique<Impl>(view, desktop, std::move(virtual_ports), std::move(start_port))) {}

TProductionForm::~TProductionForm() = default;

void TProductionForm::Open(ProductionFirmware firmware, const std::vector<std::string>& ports, bool start) {
  impl_->Handle([&] { impl_->Open(std::move(firmware), ports, start); });
}

void TProductionForm::PortTicked(int choice, bool ticked) {
  impl_->Handle([&] { impl_->PortTicked(choice, ticked); });
}

void TProductionForm::RowButtonClick(int row) {
  impl_->Handle([&] { impl_->RowButtonClick(row); });
}

void TProductionForm::StartAllClick() {
  impl_->Handle([&] { impl_->StartAll(); });
}

void TProductionForm::StopAllClick() {
  impl_->Handle([&] { impl_->StopAll(); });
}

void TProductionForm::RecordFileClick() {
  impl_->Handle([&] { impl_->RecordFileClick(); });
}

void TProductionForm::FormKeyDown(uint16_t& Key, ShiftState Shift) {
  impl_->Handle([&] {
    if (CommandForKey(Key, Shift) == KeyCommand::Stop) impl_->StopRuns();
  });
}

void TProductionForm::FormClose() {
  impl_->Handle([&] { impl_->FormClose(); });
}

void TProductionForm::Tick() {
  impl_->Handle([&] { impl_->Tick(); });
}

void TProductionForm::DeliverEvents() {
  impl_->Handle([&] { impl_->DeliverEvents(); });
}

bool TProductionForm::Running() const { return impl_->Running(); }

}  // namespace zorvan::app
