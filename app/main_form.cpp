#include "app/main_form.h"

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "app/app_texts.h"
#include "app/desktop.h"
#include "app/form_help.h"
#include "app/handler_guard.h"
#include "app/key_preview.h"
#include "app/pictures.h"
#include "app/skin_manager.h"
#include "app/ts_controls.h"
#include "app/ts_gauge.h"
#include "firmware/embedded_firmware.h"
#include "serial/bcport.h"

namespace zorvan::app {

namespace {

constexpr int kClientWidth = 329;
constexpr int kNormalClientHeight = 127;
// Title bar and borders of the window as designed. Where the window system draws a
// thinner frame, or none (the offscreen platform, a bare X server), the engineering
// view's client area keeps its designed height, so the memo below it stays out of sight.
constexpr int kDesignNonClientHeight = 39;

template <typename Control>
Control* Place(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* control = new Control(parent);
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(left, top, width, height);
  return control;
}

QPlainTextEdit* Memo(QWidget* parent, const char* name, QRect bounds, int font_height) {
  auto* memo = Place<QPlainTextEdit>(parent, name, bounds.x(), bounds.y(), bounds.width(), bounds.height());
  memo->setFont(DesignFont(font_height));
  memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The memos only hold text for the handlers; nothing the operator types there is read.
  memo->setReadOnly(true);
  return memo;
}

}  // namespace

TMainForm::TMainForm(Desktop& desktop, std::unique_ptr<PortOperations> port,
                     QStringList virtual_ports, QWidget* parent)
    : QWidget(parent),
      desktop_(desktop),
      virtual_ports_(std::move(virtual_ports)),
      BComPort1(std::move(port)),
      flasher_{state_, *this, *BComPort1} {
  setObjectName(QStringLiteral("MainForm"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kNormalClientHeight);
  setFont(DesignFont(11));
  setWindowIcon(ProgramIcon());

  sSkinManager1 = new TsSkinManager(this);
  sSkinManager1->setObjectName(QStringLiteral("sSkinManager1"));
  sSkinManager1->Activate();

  CreateControls();
  SetTabOrder();
  ConnectHandlers();
  new KeyPreview(this, [this](uint16_t& key, Qt::KeyboardModifiers shift) {
    RunGuarded([&] { FormKeyDown(key, shift); });
  });

  Run(&TMainForm::FormCreate);
}

TMainForm::~TMainForm() = default;

void TMainForm::SetFormHelp(TFormHelp* form_help) { FormHelp = form_help; }

void TMainForm::CreateControls() {
  sPanel1 = Place<TsPanel>(this, "sPanel1", 7, 8, 314, 73);
  SetHint(sPanel1, Text(kPanel1Hint), false);

  Label1 = Place<TsLabel>(sPanel1, "Label1", 49, 17, 28, 13);
  Label1->setText(Text(kPortCaption));
  Label1->adjustSize();  // labels size themselves to their captions
  SetHint(Label1, Text(kLabel1Hint), true);

  cbPort = Place<TsComboBox>(sPanel1, "cbPort", 30, 37, 73, 21);
  SetHint(cbPort, Text(kPortBoxHint), true);
  cbPort->setCursor(Qt::PointingHandCursor);
  SetSkinSection(cbPort, kSkinComboBox);

  ButtonWrite = Place<TsBitBtn>(sPanel1, "ButtonWrite", 161, 6, 96, 60);
  ButtonWrite->setText(Text(kWriteCaption));
  ButtonWrite->setIcon(WriteButtonPicture());
  ButtonWrite->setIconSize(QSize(26, 26));

  LabelNameOfHex = Place<TsLabel>(this, "LabelNameOfHex", 10, 87, 86, 13);
  LabelNameOfHex->setText(Text(kStatusAtCreation));
  LabelNameOfHex->adjustSize();

  ProgressbarReadWrite = Place<TsGauge>(this, "ProgressbarReadWrite", 6, 104, 315, 17);
  SetSkinSection(ProgressbarReadWrite, kSkinBar);

  Label3 = Place<QLabel>(this, "Label3", 12, 149, 110, 13);
  Label3->setText(Text(kCalibrationAtCreation));
  Label3->adjustSize();

  ProgressbarWrite = Place<QProgressBar>(this, "ProgressbarWrite", 8, 167, 265, 9);
  ProgressbarWrite->setTextVisible(false);
  ProgressbarWrite->setRange(0, 100);
  ProgressbarWrite->setValue(0);
  SetSkinSection(ProgressbarWrite, kSkinBar);

  cbBaudRate = Place<TsComboBox>(this, "cbBaudRate", 16, 190, 81, 21);
  SetHint(cbBaudRate, Text(kBaudRateHint), true);
  cbBaudRate->setCursor(Qt::PointingHandCursor);
  SetSkinSection(cbBaudRate, kSkinComboBox);
  for (const char* rate : kBaudRateItems) cbBaudRate->addItem(QString::fromLatin1(rate));
  cbBaudRate->setCurrentIndex(-1);  // the creation handler selects the rate

  sPanel3 = Place<TsPanel>(this, "sPanel3", 248, 200, 41, 153);
  sButton2 = Place<QPushButton>(sPanel3, "sButton2", 8, 12, 25, 57);
  SetHint(sButton2, Text(kMakerSiteHint), true);
  SetSkinSection(sButton2, kSkinDialog);
  sButton2->setIcon(MakerSiteGlyph());
  sButton3 = Place<QPushButton>(sPanel3, "sButton3", 8, 84, 25, 57);
  SetHint(sButton3, Text(kAboutHint), true);
  SetSkinSection(sButton3, kSkinDialog);
  sButton3->setIcon(AboutGlyph());

  sPanel2 = Place<TsPanel>(this, "sPanel2", 8, 224, 265, 81);
  ButtonConect = Place<QPushButton>(sPanel2, "ButtonConect", 31, 16, 81, 57);
  ButtonConect->setText(Text(kDetectCaption));
  ButtonConect->setCursor(Qt::PointingHandCursor);
  SetSkinSection(ButtonConect, kSkinButtonHuge);
  ButtonOpenHex = Place<QPushButton>(sPanel2, "ButtonOpenHex", 152, 16, 81, 57);
  ButtonOpenHex->setText(Text(kOpenCaption));
  SetHint(ButtonOpenHex, Text(kOpenHint), true);
  ButtonOpenHex->setCursor(Qt::PointingHandCursor);
  SetSkinSection(ButtonOpenHex, kSkinButtonHuge);

  // The link panel lies over the right end of the detect panel: its buttons stay whole.
  sPanel3->raise();

  MemoAbout = Memo(this, "MemoAbout", QRect(392, 16, 305, 681), 15);
  SetHint(MemoAbout, Text(kMemoAboutHint), true);
  TextTerminal = Memo(this, "TextTerminal", QRect(-288, 320, 465, 225), 16);
  firmware_text_.Assign(std::string(EmbeddedFirmware));
  ShowFirmwareText();

  sComboBoxSkinName = Place<TsComboBox>(this, "sComboBoxSkinName", 32, 760, 145, 21);
  sComboBoxSkinName->setEditable(true);
  sComboBoxSkinName->setEditText(QStringLiteral("sComboBoxSkinName"));
}

// The tab order among siblings, window first: the two memos, the skin-name box, then the
// port panel, the detect panel, the link panel and the rate box.
void TMainForm::SetTabOrder() {
  const QWidget* chain[] = {MemoAbout, TextTerminal, sComboBoxSkinName, cbPort,  ButtonWrite,
                            ButtonConect, ButtonOpenHex, sButton2, sButton3, cbBaudRate};
  for (size_t i = 0; i + 1 < std::size(chain); ++i) {
    setTabOrder(const_cast<QWidget*>(chain[i]), const_cast<QWidget*>(chain[i + 1]));
  }
}

void TMainForm::ConnectHandlers() {
  connect(ButtonWrite, &QToolButton::clicked, this, [this] { Run(&TMainForm::ButtonWriteClick); });
  connect(ButtonConect, &QPushButton::clicked, this, [this] { Run(&TMainForm::ButtonConectClick); });
  connect(ButtonOpenHex, &QPushButton::clicked, this, [this] { Run(&TMainForm::ButtonOpenHexClick); });
  connect(cbPort, &QComboBox::activated, this, [this] { Run(&TMainForm::cbPortChange); });
  connect(cbBaudRate, &QComboBox::activated, this, [this] { Run(&TMainForm::cbBaudRateChange); });
  connect(Label1, &TsLabel::clicked, this, [this] { Run(&TMainForm::Label1Click); });
  connect(sButton2, &QPushButton::clicked, this, [this] { Run(&TMainForm::sButton2Click); });
  connect(sButton3, &QPushButton::clicked, this, [this] { Run(&TMainForm::sButton3Click); });
  connect(sComboBoxSkinName, &QComboBox::editTextChanged, this,
          [this] { Run(&TMainForm::sComboBoxSkinNameChange); });
}

void TMainForm::Run(void (TMainForm::*handler)()) {
  RunGuarded([this, handler] { (this->*handler)(); });
}

void TMainForm::RunGuarded(const std::function<void()>& handler) {
  RunHandler(desktop_, handler, [this] { return PortAccessHint(PortName()); });
}

bool TMainForm::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  if (event->type() == QEvent::WindowActivate) Run(&TMainForm::FormActivate);
  return handled;
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Run(&TMainForm::FormResize);
}

void TMainForm::showEvent(QShowEvent* event) {
  if (!centred_) {
    centred_ = true;
    if (const QScreen* screen = this->screen()) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
  }
  QWidget::showEvent(event);
}

int TMainForm::NonClientHeight() const {
  return std::max(frameGeometry().height() - geometry().height(), kDesignNonClientHeight);
}

void TMainForm::OpenEngineeringView() {
  constexpr int kEngineeringOuterHeight = 340;
  setFixedSize(kClientWidth, kEngineeringOuterHeight - NonClientHeight());
}

QWidget* TMainForm::ControlWidget(Control control) const {
  switch (control) {
    case Control::ButtonWrite: return ButtonWrite;
    case Control::ButtonConect: return ButtonConect;
    case Control::ButtonOpenHex: return ButtonOpenHex;
    case Control::cbPort: return cbPort;
    case Control::cbBaudRate: return cbBaudRate;
  }
  return nullptr;
}

}  // namespace zorvan::app
