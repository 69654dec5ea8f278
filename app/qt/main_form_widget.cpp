#include "app/qt/main_form_widget.h"

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <algorithm>

#include "app/qt/key_preview.h"
#include "app/qt/pictures.h"
#include "app/qt/qt_text.h"
#include "app/qt/skin.h"
#include "app/qt/ts_controls.h"
#include "app/qt/ts_gauge.h"

namespace zorvan::app {

MainFormWidget::MainFormWidget(QWidget* parent) : QtFormWindow(kMainFormWindow, parent) {
  setWindowIcon(ProgramIcon());
  ActivateSkin();
  for (size_t i = 0; i < kMainControlCount; ++i) controls_[i] = MakeControl(this, kMainFormControls[i]);
  DecorateControls();
  SetTabOrder();
  ForwardEvents();
}

// What the description leaves to the skin: the pictures, and which panel lies on top.
void MainFormWidget::DecorateControls() {
  auto* write = As<TsBitBtn>(MainControl::ButtonWrite);
  write->setIcon(WriteButtonPicture());
  write->setIconSize(QSize(26, 26));
  As<QPushButton>(MainControl::sButton2)->setIcon(MakerSiteGlyph());
  As<QPushButton>(MainControl::sButton3)->setIcon(AboutGlyph());
  // The link panel lies over the right end of the detect panel: its buttons stay whole.
  Widget(MainControl::sPanel3)->raise();
}

void MainFormWidget::SetTabOrder() {
  for (size_t i = 0; i + 1 < kMainFormTabChain.size(); ++i) {
    setTabOrder(Widget(kMainFormTabChain[i]), Widget(kMainFormTabChain[i + 1]));
  }
}

void MainFormWidget::ForwardEvents() {
  for (const MainFormClick& click : kMainFormClicks) {
    const MainControl control = click.control;
    const auto run = [this, handler = click.handler] {
      if (form_) (form_->*handler)();
    };
    if (control == MainControl::Label1) {
      connect(As<TsLabel>(control), &TsLabel::clicked, this, run);
    } else {
      connect(As<QAbstractButton>(control), &QAbstractButton::clicked, this, run);
    }
  }
  connect(As<QComboBox>(MainControl::cbPort), &QComboBox::activated, this, [this](int index) {
    if (form_) form_->cbPortChange(index);
  });
  connect(As<QComboBox>(MainControl::cbBaudRate), &QComboBox::activated, this, [this](int index) {
    if (form_) form_->cbBaudRateChange(index);
  });
  connect(As<QComboBox>(MainControl::sComboBoxSkinName), &QComboBox::editTextChanged, this,
          [this](const QString& text) {
            if (form_) form_->sComboBoxSkinNameChange(Utf8(text));
          });
  new KeyPreview(this, [this](uint16_t& key, ShiftState shift) {
    if (form_) form_->FormKeyDown(key, shift);
  });
}

bool MainFormWidget::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  if (event->type() == QEvent::WindowActivate && form_) form_->FormActivate();
  return handled;
}

void MainFormWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (form_) form_->FormResize();
}

void MainFormWidget::showEvent(QShowEvent* event) {
  // Only a window on the screen knows its frame, and so where its centre lies.
  if (centre_when_shown_) {
    centre_when_shown_ = false;
    Centre();
  }
  QWidget::showEvent(event);
}

void MainFormWidget::CentreOnScreen() {
  if (isVisible()) {
    Centre();
  } else {
    centre_when_shown_ = true;
  }
}

void MainFormWidget::Centre() {
  if (const QScreen* screen = this->screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void MainFormWidget::SetCaption(const std::string& caption) { setWindowTitle(Text(caption)); }

void MainFormWidget::SetText(MainControl control, const std::string& text) {
  QWidget* widget = Widget(control);
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(Text(text));
    label->adjustSize();
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
    memo->setPlainText(Text(text));
  } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
    const QSignalBlocker not_the_operators(box);
    box->setEditText(Text(text));
  }
}

void MainFormWidget::AddLine(MainControl memo, const std::string& line) {
  As<QPlainTextEdit>(memo)->appendPlainText(Text(line));
}

void MainFormWidget::SetEnabled(MainControl control, bool enabled) { Widget(control)->setEnabled(enabled); }

void MainFormWidget::SetItems(MainControl box, const std::vector<std::string>& items) {
  QStringList texts;
  for (const std::string& item : items) texts << Text(item);
  auto* combo = As<QComboBox>(box);
  combo->clear();
  combo->addItems(texts);
  combo->setCurrentIndex(-1);
}

void MainFormWidget::SetItemIndex(MainControl box, int index) { As<QComboBox>(box)->setCurrentIndex(index); }

void MainFormWidget::Focus(MainControl control) { Widget(control)->setFocus(Qt::OtherFocusReason); }

void MainFormWidget::ShowGauge(MainControl gauge, int filled, const std::string& caption) {
  As<TsGauge>(gauge)->Show(filled, Text(caption));
}

void MainFormWidget::ShowBar(MainControl bar, int max, int position) {
  auto* progress = As<QProgressBar>(bar);
  progress->setMaximum(max);
  progress->setValue(position);
}

int MainFormWidget::NonClientHeight() const {
  return std::max(frameGeometry().height() - geometry().height(), kDesignedFrameHeight);
}

void MainFormWidget::SetOuterHeight(int height) { setFixedSize(width(), height - NonClientHeight()); }

void MainFormWidget::BringApplicationToFront() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && window->windowType() != Qt::Popup && window->windowType() != Qt::ToolTip) {
      window->raise();
    }
  }
  if (isVisible()) activateWindow();
}

void MainFormWidget::ProcessMessages() { QApplication::processEvents(); }

}  // namespace zorvan::app
