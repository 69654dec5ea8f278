#include "app/form_help.h"

#include <QLabel>
#include <QPushButton>

#include "app/app_texts.h"
#include "app/desktop.h"
#include "app/handler_guard.h"
#include "app/key_preview.h"
#include "app/keyboard_commands.h"
#include "app/links.h"
#include "app/pictures.h"
#include "app/skin_manager.h"
#include "app/ts_web_label.h"
#include "app/window_fader.h"
#include "common/operator_surface.h"

namespace zorvan::app {

TFormHelp::TFormHelp(Desktop& desktop, QWidget* parent) : QWidget(parent), desktop_(desktop) {
  setObjectName(QStringLiteral("FormHelp"));
  // A dialog border: fixed size, no minimise or maximise box.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(Text(kHelpTitle));
  setFixedSize(154, 193);
  move(616, 197);
  setFont(DesignFont(11));
  // Closing the main window ends the program even while this one is open.
  setAttribute(Qt::WA_QuitOnClose, false);

  Image_Emblem = new QLabel(this);
  Image_Emblem->setObjectName(QStringLiteral("Image_Emblem"));
  Image_Emblem->setGeometry(16, 16, 121, 89);
  Image_Emblem->setPixmap(Emblem(QSize(120, 89), devicePixelRatioF()));

  sWebLabel1 = new TsWebLabel(this);
  sWebLabel1->setObjectName(QStringLiteral("sWebLabel1"));
  sWebLabel1->setGeometry(29, 119, 91, 13);
  sWebLabel1->setAlignment(Qt::AlignCenter);
  sWebLabel1->setText(QString::fromLatin1(kHelpLinkAddress).section(QStringLiteral("://"), 1));

  Button1 = new QPushButton(Text(kHelpOkCaption), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(35, 145, 81, 33);
  Button1->setDefault(true);
  setFocusProxy(Button1);  // it has the focus whenever the window opens

  connect(Button1, &QPushButton::clicked, this, [this] { RunHandler(desktop_, [this] { Button1Click(); }); });
  connect(sWebLabel1, &TsWebLabel::clicked, this,
          [this] { RunHandler(desktop_, [this] { sWebLabel1Click(); }); });
  new KeyPreview(this, [this](uint16_t& key, Qt::KeyboardModifiers shift) {
    RunHandler(desktop_, [&] { FormKeyDown(key, shift); });
  });
}

void TFormHelp::ShowForm() {
  WindowFader::CancelFadeOut(this);
  show();
  raise();
  activateWindow();
  Button1->setFocus(Qt::ActiveWindowFocusReason);
}

void TFormHelp::CloseForm() { close(); }

void TFormHelp::FormKeyDown(uint16_t& Key, Qt::KeyboardModifiers) {
  if (Key == VK_F1) CloseForm();
}

void TFormHelp::Button1Click() {
  desktop_.MessageBeep(MB_ICONASTERISK);
  CloseForm();
}

void TFormHelp::sWebLabel1Click() {
  desktop_.MessageBeep(MB_ICONASTERISK);
  desktop_.OpenAddress(this, QString::fromLatin1(kHelpLinkAddress));
}

}  // namespace zorvan::app
