#include "app/qt/production_row_widget.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/qt/qt_text.h"
#include "app/qt/skin.h"

namespace zorvan::app {

namespace {

// Read from a metre away: the state in large bold letters.
constexpr int kStateFontHeight = 20;
constexpr int kSmallestStateFontHeight = 12;
constexpr int kStateWidth = 250;
constexpr int kStateHeight = 34;
constexpr int kTextFontHeight = 12;

QLabel* WrappingLabel(QWidget* parent, const char* name) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  label->setWordWrap(true);
  label->setFont(DesignFont(kTextFontHeight));
  return label;
}

// The colour's name as the skin's [RowColour="..."] selector knows it.
const char* RowColourName(RowColour colour) {
  switch (colour) {
    case RowColour::Grey: return "Grey";
    case RowColour::Blue: return "Blue";
    case RowColour::Green: return "Green";
    case RowColour::Red: return "Red";
    case RowColour::Amber: return "Amber";
    case RowColour::Dark: return "Dark";
  }
  return "Grey";
}

// The state's font: as large as lets `text` fit the field's width.
QFont StateFont(const QString& text) {
  QFont font = DesignFont(kStateFontHeight);
  font.setBold(true);
  while (font.pixelSize() > kSmallestStateFontHeight &&
         QFontMetrics(font).horizontalAdvance(text) > kStateWidth - 12) {
    font.setPixelSize(font.pixelSize() - 1);
  }
  return font;
}

}  // namespace

ProductionRowWidget::ProductionRowWidget(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("ProductionRow"));
  port_ = WrappingLabel(this, "RowPort");
  port_->setFixedWidth(140);

  state_ = new QLabel(this);
  state_->setObjectName(QStringLiteral("RowState"));
  state_->setAlignment(Qt::AlignCenter);
  state_->setFixedSize(kStateWidth, kStateHeight);
  state_->setFont(StateFont(QString()));
  state_->setProperty("RowColour", RowColourName(colour_));

  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("RowProgress"));
  SetSkinSection(progress_, QStringLiteral("BAR"));
  progress_->setTextVisible(false);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setFixedSize(kStateWidth, 4);

  last_device_ = WrappingLabel(this, "RowLastDevice");
  last_device_->setMinimumWidth(140);
  counts_ = WrappingLabel(this, "RowCounts");
  counts_->setFixedWidth(120);

  button_ = new QPushButton(this);
  button_->setObjectName(QStringLiteral("RowButton"));
  button_->setFixedWidth(100);
  connect(button_, &QPushButton::clicked, this, &ProductionRowWidget::buttonClicked);

  auto* state_column = new QVBoxLayout;
  state_column->setSpacing(1);
  state_column->addWidget(state_);
  state_column->addWidget(progress_);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(8, 3, 8, 3);
  layout->setSpacing(8);
  layout->addWidget(port_);
  layout->addLayout(state_column);
  layout->addWidget(last_device_, 1);
  layout->addWidget(counts_);
  layout->addWidget(button_);
}

void ProductionRowWidget::Show(const RowLook& look) {
  port_->setText(Text(look.port));
  const QString state = Text(look.state);
  if (state != state_->text()) {
    state_->setFont(StateFont(state));
    state_->setText(state);
  }
  if (look.colour != colour_) {
    colour_ = look.colour;
    state_->setProperty("RowColour", RowColourName(colour_));
    // The style sheet picks the colour by the property, read when the label is polished.
    state_->style()->unpolish(state_);
    state_->style()->polish(state_);
  }
  progress_->setValue(look.percent < 0 ? 0 : look.percent);
  last_device_->setText(Text(look.last_device));
  counts_->setText(Text(look.counts));
  button_->setText(Text(look.button));
  button_->setEnabled(look.button_enabled);
}

}  // namespace zorvan::app
