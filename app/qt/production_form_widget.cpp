#include "app/qt/production_form_widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/app_texts.h"
#include "app/qt/key_preview.h"
#include "app/qt/production_row_widget.h"
#include "app/qt/qt_text.h"
#include "app/qt/skin.h"
#include "app/qt/window_fader.h"

namespace zorvan::app {

namespace {

constexpr int kTickMilliseconds = 1000;
constexpr int kBellMilliseconds = 300;
// A shift's devices, and many more: the run-record file keeps them all, the log the latest.
constexpr int kLogLines = 20000;

QLabel* Caption(const char* text, QWidget* parent) {
  auto* label = new QLabel(Text(text), parent);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

QScrollArea* Scrolled(QWidget* inside, QWidget* parent) {
  auto* area = new QScrollArea(parent);
  area->setWidget(inside);
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area->setFocusPolicy(Qt::NoFocus);  // Tab goes to the controls inside
  return area;
}

// Takes `widget` out of `layout` at once, and deletes it once the event loop is back: the
// operator's click that led here may have come from it.
void Remove(QWidget* widget, QLayout* layout) {
  layout->removeWidget(widget);
  widget->hide();
  widget->deleteLater();
}

QString ChoiceText(const PortChoice& choice) {
  QString text = Text(choice.name);
  if (!choice.description.empty()) text += QStringLiteral(" — ") + Text(choice.description);
  return text;
}

}  // namespace

ProductionFormWidget::ProductionFormWidget(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ProductionForm"));
  // Closing the main window ends the program even while this one is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFont(DesignFont(13));

  header_ = new QLabel(this);
  header_->setObjectName(QStringLiteral("ProductionHeader"));
  QFont header_font = DesignFont(15);
  header_font.setBold(true);
  header_->setFont(header_font);

  auto* body = new QHBoxLayout;
  body->addWidget(MakePortList());
  body->addWidget(MakeRows(), 1);
  QLayout* line = MakeLine();

  log_ = new QPlainTextEdit(this);
  log_->setObjectName(QStringLiteral("ProductionLog"));
  log_->setReadOnly(true);
  log_->setMaximumBlockCount(kLogLines);
  log_->setLineWrapMode(QPlainTextEdit::NoWrap);
  log_->setFixedHeight(96);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 8, 10, 10);
  layout->addWidget(header_);
  layout->addLayout(body, 1);
  layout->addLayout(line);
  layout->addWidget(Caption(kLineLogCaption, this));
  layout->addWidget(log_);

  // Eight rows, the line and the log fit a 1366x768 screen with its task bar.
  resize(1020, 690);

  tick_ = new QTimer(this);
  tick_->setInterval(kTickMilliseconds);
  connect(tick_, &QTimer::timeout, this, [this] {
    if (form_) form_->Tick();
  });
  bell_ = new QTimer(this);
  bell_->setInterval(kBellMilliseconds);
  connect(bell_, &QTimer::timeout, this, &ProductionFormWidget::RingOnce);

  new KeyPreview(this, [this](uint16_t& key, ShiftState shift) {
    if (form_) form_->FormKeyDown(key, shift);
  });
}

QWidget* ProductionFormWidget::MakePortList() {
  auto* column = new QWidget(this);
  column->setFixedWidth(170);
  auto* boxes = new QWidget(column);
  boxes->setObjectName(QStringLiteral("ProductionPorts"));
  port_boxes_ = new QVBoxLayout(boxes);
  port_boxes_->setContentsMargins(4, 4, 4, 4);
  port_boxes_->addStretch(1);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Caption(kLinePortsCaption, column));
  layout->addWidget(Scrolled(boxes, column), 1);
  return column;
}

QWidget* ProductionFormWidget::MakeRows() {
  auto* rows = new QWidget(this);
  rows->setObjectName(QStringLiteral("ProductionRows"));
  row_list_ = new QVBoxLayout(rows);
  row_list_->setContentsMargins(0, 0, 0, 0);
  row_list_->setSpacing(4);
  row_list_->addStretch(1);
  return Scrolled(rows, this);
}

QLayout* ProductionFormWidget::MakeLine() {
  start_all_ = new QPushButton(Text(kLineStartAllCaption), this);
  stop_all_ = new QPushButton(Text(kLineStopAllCaption), this);
  record_file_button_ = new QPushButton(Text(kLineRecordFileCaption), this);
  for (QPushButton* button : {start_all_, stop_all_, record_file_button_}) button->setMinimumHeight(32);
  totals_ = new QLabel(this);
  totals_->setObjectName(QStringLiteral("ProductionTotals"));
  QFont totals_font = DesignFont(15);
  totals_font.setBold(true);
  totals_->setFont(totals_font);
  totals_->setWordWrap(true);  // a long shift's counts take a second line, not the window's width
  record_file_ = new QLabel(this);
  record_file_->setObjectName(QStringLiteral("ProductionRecordFile"));
  // Of a fixed width, so that the buttons stay where they are when a file is chosen.
  record_file_->setFixedWidth(260);

  connect(start_all_, &QPushButton::clicked, this, [this] {
    if (form_) form_->StartAllClick();
  });
  connect(stop_all_, &QPushButton::clicked, this, [this] {
    if (form_) form_->StopAllClick();
  });
  connect(record_file_button_, &QPushButton::clicked, this, [this] {
    if (form_) form_->RecordFileClick();
  });

  auto* line = new QHBoxLayout;
  line->addWidget(start_all_);
  line->addWidget(stop_all_);
  line->addSpacing(16);
  line->addWidget(totals_, 1);
  line->addWidget(record_file_button_);
  line->addWidget(record_file_);
  return line;
}

void ProductionFormWidget::ShowWindow() {
  setWindowOpacity(0.0);  // the form fades it in at once
  show();
}

void ProductionFormWidget::BringToFront() {
  raise();
  activateWindow();
}

void ProductionFormWidget::FadeIn(int milliseconds) { WindowFader::FadeIn(this, milliseconds); }

// The form hides the window itself; nothing waits for the fade's end.
void ProductionFormWidget::FadeOut(int milliseconds) { WindowFader::FadeOut(this, milliseconds, [] {}); }

void ProductionFormWidget::CancelFade() { WindowFader::CancelFadeOut(this); }

void ProductionFormWidget::SetCaption(const std::string& caption) { setWindowTitle(Text(caption)); }

void ProductionFormWidget::SetHeader(const std::string& header) { header_->setText(Text(header)); }

void ProductionFormWidget::SetPortChoices(const std::vector<PortChoice>& choices) {
  // The same ports again (the list is refreshed every second): only the ticks may change,
  // and the boxes stay under the operator's mouse.
  const bool same_ports =
      choices.size() == choices_shown_.size() &&
      std::equal(choices.begin(), choices.end(), choices_shown_.begin(), [](const PortChoice& a, const PortChoice& b) {
        return a.name == b.name && a.description == b.description;
      });
  if (!same_ports) {
    for (QCheckBox* box : port_choices_) Remove(box, port_boxes_);
    port_choices_.clear();
    for (size_t i = 0; i < choices.size(); ++i) {
      auto* box = new QCheckBox(ChoiceText(choices[i]));
      box->setToolTip(box->text());
      // clicked, unlike toggled, comes from the operator only.
      connect(box, &QCheckBox::clicked, this, [this, choice = static_cast<int>(i)](bool ticked) {
        if (form_) form_->PortTicked(choice, ticked);
      });
      port_boxes_->insertWidget(static_cast<int>(i), box);
      port_choices_.push_back(box);
    }
  }
  for (size_t i = 0; i < choices.size(); ++i) port_choices_[i]->setChecked(choices[i].ticked);
  choices_shown_ = choices;
  if (!same_ports) OrderTabs();
}

void ProductionFormWidget::SetRowCount(int count) {
  while (static_cast<int>(rows_.size()) > count) {
    Remove(rows_.back(), row_list_);
    rows_.pop_back();
  }
  while (static_cast<int>(rows_.size()) < count) {
    auto* row = new ProductionRowWidget;
    connect(row, &ProductionRowWidget::buttonClicked, this, [this, index = static_cast<int>(rows_.size())] {
      if (form_) form_->RowButtonClick(index);
    });
    row_list_->insertWidget(static_cast<int>(rows_.size()), row);
    rows_.push_back(row);
  }
  OrderTabs();
}

// Tab goes down the port list, then down the rows' buttons, then along the line's buttons
// to the log, however the ports and rows came and went.
void ProductionFormWidget::OrderTabs() {
  std::vector<QWidget*> chain(port_choices_.begin(), port_choices_.end());
  for (ProductionRowWidget* row : rows_) chain.push_back(row->Button());
  chain.insert(chain.end(), {start_all_, stop_all_, record_file_button_, log_});
  for (size_t i = 0; i + 1 < chain.size(); ++i) setTabOrder(chain[i], chain[i + 1]);
}

void ProductionFormWidget::ShowRow(int row, const RowLook& look) {
  if (row >= 0 && row < static_cast<int>(rows_.size())) rows_[static_cast<size_t>(row)]->Show(look);
}

void ProductionFormWidget::SetLineButtons(bool start_enabled, bool stop_enabled) {
  start_all_->setEnabled(start_enabled);
  stop_all_->setEnabled(stop_enabled);
}

void ProductionFormWidget::SetTotals(const std::string& totals) { totals_->setText(Text(totals)); }

void ProductionFormWidget::SetRecordFile(const std::string& text) {
  // The file's name at the path's end shows; the whole path is its tip, and what a screen
  // reader reads.
  const QString path = Text(text);
  record_file_->setText(record_file_->fontMetrics().elidedText(path, Qt::ElideLeft, record_file_->width()));
  record_file_->setToolTip(path);
  record_file_->setAccessibleName(path);
}

void ProductionFormWidget::AddLogLine(const std::string& line) {
  log_->appendPlainText(Text(line));
  log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
}

void ProductionFormWidget::Ring(int times) {
  if (times <= 0) return;
  // Bells of results that come close together follow one another at the same pace.
  if (bell_->isActive()) {
    rings_left_ += times;
    return;
  }
  rings_left_ = times;
  RingOnce();
  if (rings_left_ > 0) bell_->start();
}

void ProductionFormWidget::RingOnce() {
  QApplication::beep();
  if (--rings_left_ <= 0) bell_->stop();
}

void ProductionFormWidget::Wake() {
  if (delivery_asked_.exchange(true)) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        // Cleared first: what a port reports during the delivery asks for the next one.
        delivery_asked_ = false;
        if (form_) form_->DeliverEvents();
      },
      Qt::QueuedConnection);
}

// The port list is looked at again while the window is open; a window its form has hidden
// runs no port, and the main window's operator pays nothing for it. A window minimised
// (the system's hide) keeps its list fresh.
void ProductionFormWidget::showEvent(QShowEvent* event) {
  tick_->start();
  QWidget::showEvent(event);
}

void ProductionFormWidget::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) tick_->stop();
  QWidget::hideEvent(event);
}

void ProductionFormWidget::closeEvent(QCloseEvent* event) {
  if (!form_) {
    QWidget::closeEvent(event);
    return;
  }
  event->ignore();
  form_->FormClose();
}

}  // namespace zorvan::app
