#pragma once
// The help window in Qt Widgets: the view of TFormHelp.

#include <QWidget>
#include <array>

#include "app/form_help.h"
#include "app/form_help_view.h"
#include "app/qt/qt_form_window.h"

class QPushButton;

namespace zorvan::app {

class FormHelpWidget : public QtFormWindow<HelpFormView, TFormHelp> {
 public:
  // Makes the window hidden, at its designed place.
  explicit FormHelpWidget(QWidget* parent = nullptr);

  // HelpFormView.
  void Focus(HelpControl control) override;

 private:
  std::array<QWidget*, kHelpControlCount> controls_{};
};

}  // namespace zorvan::app
