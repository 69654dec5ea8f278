#include "app/qt/message_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/qt/window_fader.h"

namespace zorvan::app {

MessageDialog::MessageDialog(const QString& title, const QString& text, bool stop_icon) {
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
  if (stop_icon) {
    stop_icon_ = new QLabel(this);
    stop_icon_->setObjectName(QStringLiteral("MessageStopIcon"));
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    stop_icon_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this).pixmap(side, side));
    message->addWidget(stop_icon_, 0, Qt::AlignTop);
  }
  message->addWidget(text_, 1);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("MessageOk"));
  ok_->setDefault(true);
  ok_->setMinimumWidth(75);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(22, 16, 14, 12);
  layout->setSpacing(14);
  layout->addLayout(message);
  layout->addWidget(ok_, 0, Qt::AlignRight);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // Wide enough for its title beside the title bar's buttons, as a box of the system's
  // own would be.
  setMinimumWidth(QFontMetrics(QApplication::font()).horizontalAdvance(title) * 5 / 4 + 120);
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
