#include "app/win32/production_window.h"

#include <algorithm>

#include "app/app_texts.h"
#include "app/win32/form_window.h"
#include "app/win32/forms.h"
#include "app/win32/production_controls.h"
#include "app/win32/resource_ids.h"

namespace zorvan::win32 {

namespace {

constexpr UINT kWakeMessage = WM_APP + 2;
constexpr UINT_PTR kTickTimer = 2;  // the form's fade has 1
constexpr UINT_PTR kRingTimer = 3;
constexpr UINT kTickMilliseconds = 1000;
constexpr UINT kRingMilliseconds = 300;

// The design: at least eight rows beside the port list, the line's controls and a log
// below them, within a 1366 x 768 screen less its task bar.
constexpr int kClientWidth = 1060;
constexpr int kClientHeight = 668;
constexpr Rect kRowsArea = {204, 38, 844, 8 * (kProductionRowHeight + kProductionRowGap)};
constexpr int kScrollBarWidth = 18;
constexpr int kLineTop = kRowsArea.top + kRowsArea.height + 8;

void Identify(const Control& control, LineControl name) {
  SetWindowLongPtrW(control.hwnd(), GWLP_ID, ProductionControlId(name));
}

}  // namespace

ProductionWindow::ProductionWindow() {
  Create({.caption = "",
          .client_width = kClientWidth,
          .client_height = kClientHeight,
          .border = FormBorder::Single,
          .icon = ZORVAN_IDI_PROGRAM});
  SetPropW(hwnd(), kProductionWindowProperty, reinterpret_cast<HANDLE>(1));
  const Parent parent = AsParent();
  header_.Create({.parent = parent, .bounds = {12, 12, 0, 0}, .font = FontKind::Bold});
  ports_caption_.Create({.parent = parent,
                         .bounds = {12, 40, 0, 0},
                         .text = std::string(app::kLinePortsCaption) + ":",
                         .colour = colour::kLabel});
  ports_.Create({.parent = parent,
                 .bounds = {12, 58, 180, kRowsArea.top + kRowsArea.height - 58},
                 .hint = "Порти, на яких працює лінія: позначте потрібні"});
  rows_area_.Create({.parent = parent, .bounds = kRowsArea});
  record_file_.Create({.parent = parent,
                       .bounds = {12, kLineTop, 180, 32},
                       .text = app::kLineRecordFileCaption,
                       .hint = "Файл, до якого дописується запис про кожен прилад (JSON Lines)"});
  start_all_.Create({.parent = parent,
                     .bounds = {kRowsArea.left, kLineTop, 130, 32},
                     .text = app::kLineStartAllCaption,
                     .look = ButtonLook::Huge});
  stop_all_.Create({.parent = parent,
                    .bounds = {kRowsArea.left + 138, kLineTop, 130, 32},
                    .text = app::kLineStopAllCaption,
                    .look = ButtonLook::Huge,
                    .hint = "Кожен порт зупиниться, дописавши свій прилад; ще раз — зупинити негайно"});
  totals_.Create({.parent = parent, .bounds = {kRowsArea.left + 284, kLineTop + 9, 0, 0}, .font = FontKind::Bold});
  record_path_.Create({.parent = parent,
                       .bounds = {12, kLineTop + 40, kClientWidth - 24, 16},
                       .colour = colour::kLabel,
                       .auto_size = false});
  log_.Create({.parent = parent, .bounds = {12, kLineTop + 60, kClientWidth - 24, kClientHeight - kLineTop - 72}});
  Identify(header_, LineControl::Header);
  Identify(ports_caption_, LineControl::PortsCaption);
  Identify(ports_, LineControl::Ports);
  Identify(start_all_, LineControl::StartAll);
  Identify(stop_all_, LineControl::StopAll);
  Identify(record_file_, LineControl::RecordFile);
  Identify(record_path_, LineControl::RecordPath);
  Identify(totals_, LineControl::Totals);
  Identify(log_, LineControl::Log);
  SetRecordFile("");
  UpdateTabChain();
  CentreOnScreen();
  ForwardEvents();
}

ProductionWindow::~ProductionWindow() {
  form_ = nullptr;
  if (hwnd()) {
    KillTimer(hwnd(), kTickTimer);
    KillTimer(hwnd(), kRingTimer);
  }
}

void ProductionWindow::ForwardEvents() {
  ports_.onTicked = [this](int index, bool ticked) {
    if (form_ && !changing_) form_->PortTicked(index, ticked);
  };
  start_all_.onClick = [this] {
    if (form_) form_->StartAllClick();
  };
  stop_all_.onClick = [this] {
    if (form_) form_->StopAllClick();
  };
  record_file_.onClick = [this] {
    if (form_) form_->RecordFileClick();
  };
  onKeyDown = [this](uint16_t key, KeyModifiers modifiers) {
    if (form_) form_->FormKeyDown(key, ShiftStateOf(modifiers));
  };
  onClose = [this] {
    if (form_) {
      form_->FormClose();
    } else {
      HideWindow();
    }
  };
}

void ProductionWindow::UpdateTabChain() {
  std::vector<const Control*> chain{&ports_};
  for (const auto& row : rows_) chain.push_back(&row->ButtonControl());
  for (const Control* control : {&start_all_, &stop_all_, &record_file_}) chain.push_back(control);
  chain.push_back(&log_);
  SetTabChain(std::move(chain));
}

void ProductionWindow::ShowWindow() {
  // Shown opaque at once: a line's window needs no fade, and one that follows fades it.
  ShowTransparent();
  Form::CancelFade();
  SetTimer(hwnd(), kTickTimer, kTickMilliseconds, nullptr);
}

void ProductionWindow::HideWindow() {
  KillTimer(hwnd(), kTickTimer);
  HideNow();
}

void ProductionWindow::SetPortChoices(const std::vector<app::PortChoice>& choices) {
  std::vector<CheckItem> items;
  items.reserve(choices.size());
  for (const app::PortChoice& choice : choices) {
    items.push_back({choice.description.empty() ? choice.name : choice.name + " — " + choice.description,
                     choice.ticked});
  }
  changing_ = true;
  ports_.SetItems(items);
  changing_ = false;
}

namespace {

bool RowsScroll(size_t count) {
  return static_cast<int>(count) * (kProductionRowHeight + kProductionRowGap) > kRowsArea.height;
}

}  // namespace

// The rows there are stay, so that a port ticked or cleared does not make every row
// flicker; all are made again when the scroll bar comes or goes, which narrows them.
void ProductionWindow::SetRowCount(int count) {
  count = std::max(count, 0);
  const bool scrolls = RowsScroll(static_cast<size_t>(count));
  if (scrolls != RowsScroll(rows_.size())) rows_.clear();
  if (static_cast<size_t>(count) < rows_.size()) rows_.resize(static_cast<size_t>(count));
  rows_area_.ScrollToTop();
  const int width = kRowsArea.width - (scrolls ? kScrollBarWidth : 0);
  for (int row = static_cast<int>(rows_.size()); row < count; ++row) {
    const Rect bounds{0, row * (kProductionRowHeight + kProductionRowGap), width, kProductionRowHeight};
    auto panel = std::make_unique<ProductionRowPanel>(rows_area_.AsParent(), bounds, row);
    panel->onButtonClick = [this, row] {
      if (form_) form_->RowButtonClick(row);
    };
    rows_.push_back(std::move(panel));
  }
  rows_area_.SetContentHeight(count * (kProductionRowHeight + kProductionRowGap) - kProductionRowGap);
  UpdateTabChain();
}

void ProductionWindow::ShowRow(int row, const app::RowLook& look) {
  if (row >= 0 && row < static_cast<int>(rows_.size())) rows_[static_cast<size_t>(row)]->Show(look);
}

void ProductionWindow::SetLineButtons(bool start_enabled, bool stop_enabled) {
  if (start_all_.IsEnabled() != start_enabled) start_all_.SetEnabled(start_enabled);
  if (stop_all_.IsEnabled() != stop_enabled) stop_all_.SetEnabled(stop_enabled);
}

void ProductionWindow::SetRecordFile(const std::string& text) {
  record_path_.SetText(text.empty() ? "Записи не ведуться" : "Записи: " + text);
}

void ProductionWindow::Ring(int times) {
  if (times <= 0) return;
  const bool ringing = rings_left_ > 0;
  rings_left_ += times;
  if (ringing) return;
  ::MessageBeep(MB_OK);
  if (--rings_left_ > 0) SetTimer(hwnd(), kRingTimer, kRingMilliseconds, nullptr);
}

void ProductionWindow::Wake() {
  if (!wake_posted_.exchange(true)) PostMessageW(hwnd(), kWakeMessage, 0, 0);
}

LRESULT ProductionWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kWakeMessage) {
    wake_posted_ = false;
    if (form_) form_->DeliverEvents();
    return 0;
  }
  if (message == WM_TIMER && wparam == kTickTimer) {
    if (form_) form_->Tick();
    return 0;
  }
  if (message == WM_TIMER && wparam == kRingTimer) {
    ::MessageBeep(MB_OK);
    if (--rings_left_ <= 0) {
      rings_left_ = 0;
      KillTimer(hwnd(), kRingTimer);
    }
    return 0;
  }
  return Form::HandleMessage(message, wparam, lparam);
}

}  // namespace zorvan::win32
