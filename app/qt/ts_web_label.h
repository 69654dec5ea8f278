#pragma once
// A link label: a hand cursor, and while the mouse is over it the caption takes its hover
// look, which the skin gives (selector [hovered="true"]).

#include "app/qt/ts_controls.h"

namespace zorvan::app {

class TsWebLabel : public TsLabel {
  Q_OBJECT
  Q_PROPERTY(bool hovered READ Hovered)

 public:
  explicit TsWebLabel(QWidget* parent = nullptr);

  bool Hovered() const { return hovered_; }

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void ShowHover(bool hovered);

  bool hovered_ = false;
};

}  // namespace zorvan::app
