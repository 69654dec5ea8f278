#include "app/qt/form_help_widget.h"

#include <QLabel>
#include <QPushButton>

#include "app/qt/key_preview.h"
#include "app/qt/pictures.h"
#include "app/qt/ts_web_label.h"

namespace zorvan::app {

FormHelpWidget::FormHelpWidget(QWidget* parent) : QtFormWindow(kFormHelpWindow, parent) {
  // Closing the main window ends the program even while this one is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  for (size_t i = 0; i < kHelpControlCount; ++i) controls_[i] = MakeControl(this, kFormHelpControls[i]);

  auto* emblem = static_cast<QLabel*>(controls_[size_t(HelpControl::Image_Emblem)]);
  emblem->setPixmap(Emblem(QSize(120, 89), devicePixelRatioF()));
  auto* link = static_cast<TsWebLabel*>(controls_[size_t(HelpControl::sWebLabel1)]);
  link->setAlignment(Qt::AlignCenter);
  auto* ok = static_cast<QPushButton*>(controls_[size_t(HelpControl::Button1)]);
  ok->setDefault(true);
  setFocusProxy(ok);  // it has the focus whenever the window opens

  connect(ok, &QPushButton::clicked, this, [this] {
    if (form_) form_->Button1Click();
  });
  connect(link, &TsWebLabel::clicked, this, [this] {
    if (form_) form_->sWebLabel1Click();
  });
  new KeyPreview(this, [this](uint16_t& key, ShiftState shift) {
    if (form_) form_->FormKeyDown(key, shift);
  });
}

void FormHelpWidget::Focus(HelpControl control) {
  controls_[static_cast<size_t>(control)]->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace zorvan::app
