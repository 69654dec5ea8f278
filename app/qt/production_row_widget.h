#pragma once
// One row of the production window: a port of the line as its form shows it. The port's
// name and adapter, a large state field in the state's colour with the run's progress
// under it, the last device, the port's counts, and the button that starts and stops this
// port alone.

#include <QFrame>

#include "app/production_form_view.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace zorvan::app {

class ProductionRowWidget : public QFrame {
  Q_OBJECT

 public:
  explicit ProductionRowWidget(QWidget* parent = nullptr);

  void Show(const RowLook& look);
  QPushButton* Button() const { return button_; }

 signals:
  void buttonClicked();

 private:
  QLabel* port_;
  QLabel* state_;
  QProgressBar* progress_;
  QLabel* last_device_;
  QLabel* counts_;
  QPushButton* button_;
  RowColour colour_ = RowColour::Grey;
};

}  // namespace zorvan::app
