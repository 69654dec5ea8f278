#include "app/qt/message_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/qt/window_fader.h"

namespace zorvan::app {

MessageDialog::MessageDialog(const QString& title, const QString& text, MessageKind kind) : kind_(kind) {
  setObjectName(QStringLiteral("MessageDialog"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(title);

  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text_ = new QLabel(lines, this);
  text_->setObjectName(QStringLiteral("MessageText"));
  // Plain text keeps the spaces that centre a line; without wrapping each line stays
  // whole and the box grows to the longest.
  text_->setTextFormat(Qt::PlainText);
  text_->setWordWrap(false);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* message = new QHBoxLayout;
  message->setSpacing(14);
  if (kind != MessageKind::Information) {
    const bool error = kind == MessageKind::Error;
    auto* icon = new QLabel(this);
    icon->setObjectName(error ? QStringLiteral("MessageStopIcon") : QStringLiteral("MessageQuestionIcon"));
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    const auto picture = error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxQuestion;
    icon->setPixmap(style()->standardIcon(picture, nullptr, this).pixmap(side, side));
    message->addWidget(icon, 0, Qt::AlignTop);
  }
  message->addWidget(text_, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  if (kind == MessageKind::Question) {
    yes_ = AddButton(QStringLiteral("Так"), QStringLiteral("MessageYes"));
    no_ = AddButton(QStringLiteral("Ні"), QStringLiteral("MessageNo"));
    connect(yes_, &QPushButton::clicked, this, &QDialog::accept);
    connect(no_, &QPushButton::clicked, this, &QDialog::reject);
    // Enter must never answer yes by accident: "Так" does not take Enter even when
    // focused with Tab, and "Ні" has the focus when the box opens.
    yes_->setAutoDefault(false);
    no_->setDefault(true);
    no_->setFocus();
    buttons->addWidget(yes_);
    buttons->addWidget(no_);
  } else {
    ok_ = AddButton(QStringLiteral("OK"), QStringLiteral("MessageOk"));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ok_);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(22, 16, 14, 12);
  layout->setSpacing(14);
  layout->addLayout(message);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // Wide enough for its title beside the title bar's buttons, as a box of the system's
  // own would be.
  setMinimumWidth(QFontMetrics(QApplication::font()).horizontalAdvance(title) * 5 / 4 + 120);
}

QPushButton* MessageDialog::AddButton(const QString& caption, const QString& name) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setMinimumWidth(75);
  return button;
}

QString MessageDialog::Text() const { return text_->text(); }

void MessageDialog::done(int result) {
  if (faded_ || !isVisible()) {
    QDialog::done(result);
    return;
  }
  WindowFader::FadeOut(this, WindowFader::DurationFor(this), [this, result] {
    faded_ = true;
    QDialog::done(result);
  });
}

}  // namespace zorvan::app
