#pragma once
// The small skinned control kinds the windows use beside the gauge: a label that can be
// clicked, a panel, and a button with its picture above its caption.

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

namespace zorvan::app {

// A label whose click the window may handle.
class TsLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TsLabel(QWidget* parent = nullptr) : QLabel(parent) {}

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// A panel that holds other controls.
class TsPanel : public QFrame {
  Q_OBJECT

 public:
  explicit TsPanel(QWidget* parent = nullptr) : QFrame(parent) {}
};

// A push button with a picture above its caption.
class TsBitBtn : public QToolButton {
  Q_OBJECT

 public:
  explicit TsBitBtn(QWidget* parent = nullptr);
};

// A combo box whose current text, when too long for the box, keeps its end in sight
// (a port path's device name), and whose list is wide enough for its longest item.
class TsComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TsComboBox(QWidget* parent = nullptr) : QComboBox(parent) {}

  void showPopup() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A control's hint: its tool tip when the hint is shown, and kept as the property "hint"
// either way, as the window's description holds it.
void SetHint(QWidget* control, const QString& hint, bool shown);

}  // namespace zorvan::app
